#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ (clang 14, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 300), starting
# from its seed folders. New inputs go to build/fuzz/corpus/NAME and are used
# again by the next run; an input that breaks a property or crashes is kept as
# build/fuzz/findings/NAME-crash-... and the script ends non-zero.
# Usage: scripts/fuzz.sh [SECONDS] [NAME...]   (CI: scripts/fuzz.sh 20)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-300}
shift || true

cmake --preset fuzz -G Ninja >/dev/null
cmake --build --preset fuzz
build=build/fuzz/fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for seeds in "$build"/fuzz_*.seeds; do
    name=$(basename "$seeds" .seeds)
    targets+=("${name#fuzz_}")
  done
fi

# The targets' scratch files go to a temporary folder of this run, removed at
# the end however a target ended.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/velmar-fuzz-run.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p build/fuzz/findings
failed=()
for name in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=()
  while IFS= read -r folder; do
    [ -n "$folder" ] && seeds+=("$folder")
  done <"$build/fuzz_$name.seeds"
  echo "== fuzz_$name for ${seconds}s"
  if ! "$build/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="build/fuzz/findings/$name-" "$corpus" "${seeds[@]}" \
      >"build/fuzz/$name.log" 2>&1; then
    tail -n 40 "build/fuzz/$name.log"
    failed+=("$name")
  else
    grep -E '^stat::number_of_executed_units|^Done' "build/fuzz/$name.log" || true
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: properties broken or crashes in: ${failed[*]} (inputs in build/fuzz/findings)" >&2
  exit 1
fi
echo "fuzz: ${#targets[@]} targets ran ${seconds}s each without a finding"
