#!/usr/bin/env bash
# The editor never hangs or dies of one file, under Xvfb with openbox, driven
# by xdotool: a FIFO, /dev/zero and a sparse file of 2 GB, each opened as a
# calendar (File > Open calendar) and each chosen as the holidays file
# (Holidays...), give one message each within a second; the editor keeps
# running, and its other tabs (a profile with unsaved changes, a new calendar)
# are as they were: the profile is saved with its change at the end.
# Exit status 77 when the display tools are missing.
#
# Usage: special_files_e2e.sh VELMAR_EDITOR VELMAR_PROFILES EXAMPLE_PROFILES_DIR
set -euo pipefail

editor=$1
profiles=$2
examples=$3
here=$(cd "$(dirname "$0")" && pwd)

fail() {
  echo "FAIL: $*"
  tail -n 20 "${work:-/nonexistent}"/editor.log 2>/dev/null || true
  exit 1
}
for tool in Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is missing (scripts/install-deps.sh test)"; exit 77; }
done

source "$here/../../scripts/xvfb-tray.sh"
start_xvfb || fail "Xvfb did not start"
start_wm || fail "openbox did not start"
export LANG=C.UTF-8 LC_ALL=C.UTF-8

windows_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
window_exists() { [ "$(windows_named "$1")" -gt 0 ]; }
key() { xdotool key --delay 80 "$@"; sleep 0.3; }
running() { kill -0 "$editor_pid" 2>/dev/null; }
now_ms() { date +%s%3N; }

mkfifo "$work/pipe.cal"
truncate -s 2G "$work/sparse.cal"
profile="$work/Profile_0002.dat"
cp "$examples/Profile_0002.dat" "$profile"
cp "$profile" "$work/original.dat"

"$editor" "$profile" >"$work/editor.log" 2>&1 &
editor_pid=$!
pids+=("$editor_pid")
wait_for 15 window_exists 'Profile_0002.dat' || fail "no editor window"
sleep 1
key Down Insert # a period 08:00-17:00 on Tuesday, not saved yet
wait_for 5 window_exists 'Profile_0002.dat\*' || fail "the edit did not mark the profile changed"
key ctrl+n
wait_for 5 window_exists 'Untitled calendar' || fail "no new calendar tab"

# check_one_message WHAT: the message about a file appears within a second of
# its choice, alone; the editor runs on with its tabs.
check_one_message() {
  local chosen=$1 shown
  wait_for 5 window_exists '^Velmar Editor$' || fail "$2: no message (the editor $(running && echo runs || echo ended))"
  shown=$(now_ms)
  ((shown - chosen <= 1000)) || fail "$2: the message took $((shown - chosen)) ms"
  sleep 0.3
  [ "$(windows_named '^Velmar Editor$')" -eq 1 ] || fail "$2: $(windows_named '^Velmar Editor$') messages"
  echo "$2: one message after $((shown - chosen)) ms"
  key Return
  wait_for 5 bash -c '! xdotool search --onlyvisible --name "^Velmar Editor$" >/dev/null 2>&1' ||
    fail "$2: the message did not close"
  running || fail "$2: the editor ended"
}

# choose DIALOG PATH: types a path into a file dialog and accepts it; prints
# the time of the choice in milliseconds.
choose() {
  wait_for 10 window_exists "$1" || fail "no dialog $1"
  sleep 0.5
  xdotool type --delay 20 "$2"
  sleep 0.3
  now_ms
  xdotool key Return
}

for file in "$work/pipe.cal" /dev/zero "$work/sparse.cal"; do
  key ctrl+shift+o
  chosen=$(choose 'Open calendar' "$file")
  check_one_message "$chosen" "open $(basename "$file")"
done

for file in "$work/pipe.cal" /dev/zero "$work/sparse.cal"; do
  key alt+h
  chosen=$(choose '^Holidays$' "$file")
  check_one_message "$chosen" "holidays $(basename "$file")"
done

echo "== the other tabs are as they were"
window_exists 'Untitled calendar' || fail "the new calendar tab is gone"
key ctrl+w # the new calendar has no changes: it closes without a question
wait_for 5 window_exists 'Profile_0002.dat\*' || fail "the profile lost its unsaved change"
key ctrl+s
wait_for 10 bash -c '! cmp -s "$0" "$1"' "$profile" "$work/original.dat" || fail "the profile was not saved"
# 08:00-17:00 merged with Tuesday's 07:00-16:00.
"$profiles" show "$profile" | grep -q 'day type 1 (Tue): .*periods: 07:00-17:00' ||
  fail "the saved profile lacks its change: $("$profiles" show "$profile" | grep 'day type 1')"
running || fail "the editor ended"
echo "PASS"
