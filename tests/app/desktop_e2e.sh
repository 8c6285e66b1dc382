#!/usr/bin/env bash
# The tray program on a real X server with a real notification area: Xvfb
# gives the display, trayer the system tray. The icon must be embedded in the
# tray, a click on it must map the window with its rows, SIGTERM must end the
# program with status 0 and take the icon away; without a tray the window
# starts shown, and a tray that appears later gets the icon.
#
# Usage: desktop_e2e.sh PROGRAM DATA_FOLDER
# Exit status 77 (skipped) only when Xvfb is not installed.
set -euo pipefail

program=$1
data=$2
caption='^Velmar - Active Profiles$'

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "Xvfb is not installed: skipped"
  exit 77
fi
for tool in trayer xdotool xwininfo convert import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "FAIL: $tool is missing (scripts/install-deps.sh)"; exit 1; }
done

source "$(dirname "$0")/../../scripts/xvfb-tray.sh"

fail() { echo "FAIL: $*"; exit 1; }

start_xvfb || fail "Xvfb did not start"

start_program() {
  "$program" "/PATH:$data" >"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}

stop_program() {
  kill -TERM "$program_pid"
  local status=0
  wait "$program_pid" || status=$?
  [ "$status" -eq 0 ] || fail "exit status $status after SIGTERM"
  icon_shown && fail "the icon stayed in the tray after the program ended"
  return 0
}

echo "== tray present"
start_trayer || fail "trayer did not show its panel"
start_program
wait_for 15 icon_shown || fail "no icon in the tray"
window_shown && fail "the window is shown at start although a tray is there"
wait_for 10 click_icon || fail "clicking the icon did not show the window"
window=$(xdotool search --onlyvisible --name "$caption" | head -n1)
xwininfo -id "$window" >"$work/window.txt"
grep -q 'Map State: IsViewable' "$work/window.txt" || fail "window not mapped"
grep -q 'Width: 312' "$work/window.txt" || fail "inner width is not 312: $(grep Width "$work/window.txt")"
# The list's 211 pixels, and the status line under them.
height=$(awk '/Height:/ {print $2}' "$work/window.txt")
((height > 211 && height < 250)) || fail "height $height is not the list's 211 and a status line"
sleep 0.5
import -window "$window" "$work/window.png"
count() { # pixels near a colour
  convert "$work/window.png" -fuzz 25% -fill black +opaque "$1" -fill white -opaque "$1" \
    -colorspace gray -format '%[fx:round(mean*w*h)]' info:
}
red=$(count 'rgb(215,30,30)')
green=$(count 'rgb(30,175,50)')
echo "red ball pixels: $red, green ball pixels: $green"
((red > 20 && green > 20)) || fail "the window does not show red and green rows"
stop_program

echo "== no tray at start, one later"
kill "$trayer_pid"
wait "$trayer_pid" 2>/dev/null || true
tray_panel_gone() { ! tray_panel_shown; }
wait_for 10 tray_panel_gone || fail "trayer did not go"
start_program
wait_for 15 window_shown || fail "without a tray the window must start shown"
start_trayer || fail "trayer did not show its panel"
wait_for 15 icon_shown || fail "the icon did not appear in a tray that started later"
stop_program

echo "PASS"
