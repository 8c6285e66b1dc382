#!/usr/bin/env bash
# Takes the README's pictures of the editor under Xvfb with openbox: the
# schedule tab on a copy of examples/Project's Profile_0002.dat with a period
# being retimed (docs/editor-schedule.png), and a calendar tab with a few
# dates painted (docs/editor-calendar.png).
# Usage: scripts/screenshot-editor.sh [VELMAR_EDITOR]
#        (default: build/default/editor/velmar-editor)
set -euo pipefail
cd "$(dirname "$0")/.."

editor=${1:-build/default/editor/velmar-editor}
[ -x "$editor" ] || scripts/build.sh default velmar-editor
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done

source scripts/xvfb-tray.sh
start_xvfb || { echo "Xvfb did not start" >&2; exit 1; }
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
window_exists() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
key() { xdotool key --delay 80 "$@"; sleep 0.3; }

cp examples/Project/Profiles/Profile_0002.dat "$work/"
LANG=C.UTF-8 "$editor" "$work/Profile_0002.dat" >/dev/null 2>&1 &
pids+=($!)
wait_for 15 window_exists 'Profile_0002.dat' || { echo "no editor window" >&2; exit 1; }
window=$(xdotool search --onlyvisible --name 'Profile_0002.dat' | head -n1)
xdotool windowmove "$window" 0 0
sleep 0.5
# The keyboard: Saturday's row, a new period, its stop edge two steps later.
key Down Down Down Down Down Down Insert Right Right shift+Right shift+Right
mkdir -p docs
import -window "$window" docs/editor-schedule.png
key ctrl+n
sleep 0.5
# Entry 10 of the day types (a special day type with its image) onto three
# dates, entry 7 (Saturday) onto two more; the picture box is before the
# combo box.
key alt+d Down Down Down Down Down Down Down Down Down Down shift+Tab
key Right Down Down Down space Right space Right space
key alt+d Up Up Up shift+Tab
key Up space Right space
window=$(xdotool search --onlyvisible --name 'Untitled calendar' | head -n1)
import -window "$window" docs/editor-calendar.png
echo "saved docs/editor-schedule.png and docs/editor-calendar.png"
