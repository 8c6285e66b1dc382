#!/usr/bin/env bash
# The editor as a screen reader meets it: the real program under Xvfb on a
# private session bus with its own accessibility bus (at-spi2-core), read
# through pyatspi. The schedule grid is found by its accessible name, edited
# with the keyboard, and its description must say the cursor's day and the
# selected period; at zoom 3 a drag of 30 screen pixels moves an edge by 50
# minutes, and the saved file says so. Then at QT_SCALE_FACTOR=2 on the same
# 1280 x 800 screen the window fits and its Apply button is on the screen.
# Exit status 77 when the tools are missing.
#
# Usage: accessibility_e2e.sh VELMAR_EDITOR VELMAR_PROFILES EXAMPLE_PROFILES_DIR
set -euo pipefail

editor=$1
profiles=$2
examples=$3
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher

for tool in Xvfb xdotool dbus-run-session "$launcher"; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is missing (scripts/install-deps.sh test)"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: no python3-pyatspi"; exit 77; }

# A session bus of its own, so that no other session's readers or
# applications are seen or disturbed.
if [ -z "${VELMAR_PRIVATE_BUS:-}" ]; then
  exec env VELMAR_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
fi

fail() {
  echo "FAIL: $*"
  tail -n 20 "${work:-/nonexistent}"/*.log 2>/dev/null || true
  exit 1
}

source "$here/../../scripts/xvfb-tray.sh"
start_xvfb -screen 0 1280x800x24 || fail "Xvfb did not start"
"$launcher" --launch-immediately >"$work/bus.log" 2>&1 &
pids+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANG=C.UTF-8 LC_ALL=C.UTF-8 NO_AT_BRIDGE=0

cp "$examples/Profile_0003.dat" "$work/"
"$editor" "$work/Profile_0003.dat" >"$work/editor.log" 2>&1 &
pids+=($!)
window_exists() { xdotool search --onlyvisible --name "Velmar Editor" >/dev/null 2>&1; }
wait_for 20 window_exists || fail "the editor's window did not appear"
window=$(xdotool search --onlyvisible --name "Velmar Editor" | head -n1)
xdotool windowfocus --sync "$window" 2>/dev/null || true

/usr/bin/python3 "$here/accessibility_probe.py" edit || fail "the accessibility probe failed"
saved() { "$profiles" show "$work/Profile_0003.dat" | grep -q 'day type 2 (Wed).*periods: 07:30-09:50 '; }
wait_for 10 saved || fail "the saved file does not say 07:30-09:50 on Wednesday"
kill "${pids[-1]}" 2>/dev/null || true

QT_SCALE_FACTOR=2 "$editor" "$work/Profile_0003.dat" >"$work/editor2.log" 2>&1 &
pids+=($!)
sleep 1
wait_for 20 window_exists || fail "the editor's window did not appear at scale 2"
# Qt gives the accessibility bus its own (logical) pixels: 640 x 400 here.
/usr/bin/python3 "$here/accessibility_probe.py" fits 640 400 || fail "the window does not fit at scale 2"
echo "PASS"
