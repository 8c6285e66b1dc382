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

source scripts/xvfb-tray.sh
start_xvfb || { echo "Xvfb did not start" >&2; exit 1; }
start_trayer || { echo "trayer did not show its panel" >&2; exit 1; }
"$program" "/PATH:$PWD/examples/Project" >/dev/null 2>&1 &
pids+=($!)

wait_for 15 icon_shown || { echo "no icon in the tray" >&2; exit 1; }
wait_for 20 click_icon || { echo "clicking the icon did not show the window" >&2; exit 1; }
window=$(xdotool search --onlyvisible --name "$caption" | head -n1)
xdotool mousemove 700 500 # keep the pointer off the list
sleep 0.5
mkdir -p docs
import -window "$window" "$output"
echo "saved $output"
