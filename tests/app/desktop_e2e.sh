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

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }

# Polls a command for up to $1 seconds.
wait_for() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

start_trayer() {
  trayer --edge top --align right --widthtype request --height 24 --transparent false \
    >"$work/trayer.log" 2>&1 &
  trayer_pid=$!
  pids+=("$trayer_pid")
  wait_for 10 sh -c 'xwininfo -root -tree | grep -q "\"panel\": (\"panel\" \"trayer\")"' ||
    fail "trayer did not show its panel"
}

start_program() {
  "$program" "/PATH:$data" >"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}

# Absolute "x y" of the program's icon embedded in the tray, when there is one.
icon_position() {
  xwininfo -root -tree | awk '
    /"panel": \("panel" "trayer"\)/ { inpanel = 1; next }
    inpanel && /"velmar-active-profiles": \("velmar-active-profiles"/ {
      n = split($NF, a, "+"); print a[2], a[3]; exit }'
}
icon_shown() { [ -n "$(icon_position)" ]; }
window_shown() { xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1; }

stop_program() {
  kill -TERM "$program_pid"
  local status=0
  wait "$program_pid" || status=$?
  [ "$status" -eq 0 ] || fail "exit status $status after SIGTERM"
  icon_shown && fail "the icon stayed in the tray after the program ended"
  return 0
}

echo "== tray present"
start_trayer
start_program
wait_for 15 icon_shown || fail "no icon in the tray"
window_shown && fail "the window is shown at start although a tray is there"
# A freshly embedded icon may miss the very first click: click until the
# window shows, a few times at most.
click_icon() {
  local x y
  read -r x y < <(icon_position)
  xdotool mousemove $((x + 11)) $((y + 11)) click 1
  for _ in $(seq 20); do window_shown && return 0; sleep 0.1; done
  return 1
}
wait_for 10 click_icon || fail "clicking the icon did not show the window"
window=$(xdotool search --onlyvisible --name "$caption" | head -n1)
xwininfo -id "$window" >"$work/window.txt"
grep -q 'Map State: IsViewable' "$work/window.txt" || fail "window not mapped"
grep -q 'Width: 312' "$work/window.txt" || fail "inner width is not 312: $(grep Width "$work/window.txt")"
grep -q 'Height: 211' "$work/window.txt" || fail "inner height is not 211"
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
wait_for 10 sh -c '! xwininfo -root -tree | grep -q "\"panel\": (\"panel\" \"trayer\")"' || fail "trayer did not go"
start_program
wait_for 15 window_shown || fail "without a tray the window must start shown"
start_trayer
wait_for 15 icon_shown || fail "the icon did not appear in a tray that started later"
stop_program

echo "PASS"
