#!/usr/bin/env bash
# Takes the README's screenshots: starts Xvfb and trayer (a system tray), runs
# the program on examples/Project, opens the window by clicking the tray icon
# and saves docs/screenshot-window.png; with --scale 2 the program runs at Qt
# scale factor 2 and the top of the screen, tray and window, goes to
# docs/screenshot-scale2.png.
# Usage: scripts/screenshot.sh [--scale FACTOR] [PROGRAM]
#        (default program: build/default/app/velmar-active-profiles)
set -euo pipefail
cd "$(dirname "$0")/.."

scale=1
if [ "${1:-}" = "--scale" ]; then
  scale=$2
  shift 2
fi
program=${1:-build/default/app/velmar-active-profiles}
output=docs/screenshot-window.png
[ "$scale" = 1 ] || output=docs/screenshot-scale$scale.png
caption='^Velmar - Active Profiles$'

if [ ! -x "$program" ]; then
  scripts/build.sh default
fi
for tool in Xvfb trayer xdotool xwininfo import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done

source scripts/xvfb-tray.sh
start_xvfb || { echo "Xvfb did not start" >&2; exit 1; }
tray_height=$((24 * scale)) # the panel of a screen at that scale
start_trayer || { echo "trayer did not show its panel" >&2; exit 1; }
QT_SCALE_FACTOR=$scale "$program" "/PATH:$PWD/examples/Project" >/dev/null 2>&1 &
pids+=($!)

wait_for 15 icon_shown || { echo "no icon in the tray" >&2; exit 1; }
wait_for 20 click_icon || { echo "clicking the icon did not show the window" >&2; exit 1; }
window=$(xdotool search --onlyvisible --name "$caption" | head -n1)
xdotool mousemove 700 500 # keep the pointer off the list
sleep 0.5
mkdir -p docs
if [ "$scale" = 1 ]; then
  import -window "$window" "$output"
else
  height=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ { y = $NF } /Height:/ { h = $NF } END { print y + h + 1 }')
  import -window root -crop "800x$height+0+0" +repage "$output"
fi
echo "saved $output"
