#!/usr/bin/env bash
# Runs Prometheus's own checker, `promtool check metrics`, on what
# `velmar-profiles metrics` prints for every fixture: the examples, names
# with quotation marks, backslashes, line breaks and code-page-1252 bytes
# (fixtures/names), a folder with problems of every file kind
# (fixtures/problems), each malformed profile file of tests/profiles, more
# files than the slots, a missing Profiles folder and one that is a file.
# promtool must print nothing. Exits 77 (skipped) without promtool.
# Usage: promtool_metrics.sh VELMAR_PROFILES SOURCE_DIR
set -euo pipefail
tool=$1
source_dir=$2

if ! command -v promtool >/dev/null 2>&1; then
  echo "promtool is not installed (Debian: prometheus, in scripts/install-deps.sh test); skipped"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

folders=("$source_dir/examples/Project" "$source_dir/tests/report/fixtures/names"
  "$source_dir/tests/report/fixtures/problems" "$work/missing")
for file in "$source_dir"/tests/profiles/malformed/*.dat; do
  folder="$work/malformed/$(basename "$file" .dat)"
  mkdir -p "$folder/Profiles"
  cp "$file" "$folder/Profiles/Profile_0001.dat"
  folders+=("$folder")
done
mkdir -p "$work/full/Profiles"
for i in $(seq 1 205); do
  cp "$source_dir/examples/Project/Profiles/Profile_0001.dat" "$(printf '%s/full/Profiles/Profile_%04d.dat' "$work" "$i")"
done
folders+=("$work/full")
mkdir -p "$work/file"
: >"$work/file/Profiles"
folders+=("$work/file")

failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}
for folder in "${folders[@]}"; do
  status=0
  "$tool" metrics "/PATH:$folder" >"$work/metrics.prom" || status=$?
  if [ "$status" -gt 1 ]; then
    fail "$folder: velmar-profiles metrics exited with status $status"
    continue
  fi
  if ! report=$(promtool check metrics <"$work/metrics.prom" 2>&1) || [ -n "$report" ]; then
    fail "$folder: promtool check metrics: $report"
    sed 's/^/  | /' "$work/metrics.prom"
  fi
  cp "$work/metrics.prom" "$work/$(basename "$folder").prom"
done

# The names reached the text as the format escapes them.
for sample in 'profile="Larm \"Norr\""} 1' 'profile="Larm \"Norr\""} 0' 'profile="C:\\Larm\\Väst\\"} 0' \
  'profile="Rad 1\nRad 2"} 1' 'profile="Åsa Äldre Öland ÿ"} 1' 'profile=""} 1'; do
  grep -qF "$sample" "$work/names.prom" || fail "names: no sample with $sample"
done
grep -qF 'kind="beyondSlots"} 5' "$work/full.prom" || fail "205 files: not 5 beyond the slots"
grep -qF 'velmar_folder_readable{folder="'"$work"'/file/"} 0' "$work/file.prom" ||
  fail "a file where the Profiles folder belongs: the folder is not unreadable"

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "promtool check metrics: ${#folders[@]} outputs, nothing to report"
