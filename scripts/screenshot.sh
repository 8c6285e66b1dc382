#!/usr/bin/env bash
# Takes the README's screenshot of the window: starts Xvfb and trayer (a
# system tray), runs the program on examples/Project, opens the window by
# clicking the tray icon and saves docs/screenshot-window.png.
# Usage: scripts/screenshot.sh [PROGRAM]   (default: build/default/app/velmar-active-profiles)
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-build/default/app/velmar-active-profiles}
output=docs/screenshot-window.png
caption='^Velmar - Active Profiles$'

if [ ! -x "$program" ]; then
  scripts/build.sh default
fi
for tool in Xvfb trayer xdotool xwininfo import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    ((SECONDS < deadline)) || { echo "timed out waiting for: $*" >&2; exit 1; }
    sleep 0.1
  done
}

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for 10 test -s "$work/display"
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

trayer --edge top --align right --widthtype request --height 24 --transparent false >/dev/null 2>&1 &
pids+=($!)
"$program" "/PATH:$PWD/examples/Project" >/dev/null 2>&1 &
pids+=($!)

icon_position() {
  xwininfo -root -tree | awk '
    /"panel": \("panel" "trayer"\)/ { inpanel = 1; next }
    inpanel && /"velmar-active-profiles": \("velmar-active-profiles"/ {
      n = split($NF, a, "+"); print a[2], a[3]; exit }'
}
icon_shown() { [ -n "$(icon_position)" ]; }
wait_for 15 icon_shown
# A freshly embedded icon may miss the very first click: click until the
# window shows.
window_shown() { xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1; }
click_icon() {
  local x y
  read -r x y < <(icon_position)
  xdotool mousemove $((x + 11)) $((y + 11)) click 1
  for _ in $(seq 20); do window_shown && return 0; sleep 0.1; done
  return 1
}
wait_for 20 click_icon
window=$(xdotool search --onlyvisible --name "$caption" | head -n1)
xdotool mousemove 700 500 # keep the pointer off the list
sleep 0.5
mkdir -p docs
import -window "$window" "$output"
echo "saved $output"
