#!/usr/bin/env bash
# Checks formatting (clang-format) and the .clang-tidy rules on all tracked
# sources; exits non-zero when either finds something.
# Usage: scripts/lint.sh   (configures the "default" preset first if needed,
# because clang-tidy reads its compile commands)
set -uo pipefail
cd "$(dirname "$0")/.."

status=0

echo "== clang-format"
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror; then
    status=1
fi

echo "== clang-tidy"
if [[ ! -f build/default/compile_commands.json ]]; then
    cmake --preset default -G Ninja >/dev/null || exit 1
fi
# clang-tidy exits 0 on warnings, so the findings are counted from its output.
report="$(mktemp)"
trap 'rm -f "$report"' EXIT
git ls-files -z '*.cpp' | grep -zv '^build/' |
    xargs -0 -n 4 -P "$(nproc)" clang-tidy -p build/default --quiet >"$report" 2>&1
tidy_status=$?
grep -E '(warning|error):' "$report" | sort -u
if [[ $tidy_status -ne 0 ]] || grep -qE '(warning|error):' "$report"; then
    status=1
fi

if [[ $status -eq 0 ]]; then
    echo "lint: clean"
else
    echo "lint: findings above" >&2
fi
exit $status
