#!/usr/bin/env bash
# Renders the schedule editor's pictures in docs/:
#   schedule-default.png  the example profile "Kontor dagtid" (Profile_0002), whose
#                         schedule is the default: Monday to Friday 07:00-16:00, grouped;
#   schedule-edited.png   the same schedule after a session of mouse and menu edits.
#
# Usage: docs/render-schedule.sh [PATH_TO_velmar-profiles]
# Without an argument the tool of the default build is used (built when missing).
set -euo pipefail
cd "$(dirname "$0")/.."

tool=${1:-build/default/tools/velmar-profiles/velmar-profiles}
if [[ ! -x $tool ]]; then
  scripts/build.sh default >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
profile=examples/Project/Profiles/Profile_0002.dat

"$tool" render-schedule "$profile" --out docs/schedule-default.png

# Grid geometry: minute m is at x = 30 + m / 5; row r's band is y = 25r + 4 .. 25r + 18.
cat >"$work/events.txt" <<'SCRIPT'
# Friday leaves the Monday-to-Friday group, then its stop edge is dragged to 13:00.
down 200 111 2
group
down 222 111
move 200 111
move 186 111
up 186 111
# Monday gets an evening period 18:00-21:00; the release copies Monday's day to
# the other members, Tuesday to Thursday.
down 246 11
move 270 11
move 282 11
up 282 11
# Saturday: a new period 09:00-13:00, then copied to Sunday with the popup menu.
down 138 136
move 186 136
up 186 136
down 150 136 2
copy
down 150 161 2
paste
# A click in a free place on Saturday clears the selection there.
down 270 136
up 270 136
# Wednesday's morning period is selected and retimed through the time boxes to
# 06:30-16:00; the group follows. The selected period stays dark.
down 150 61
up 150 61
times 6:30 16:00
SCRIPT

"$tool" render-schedule "$profile" --events "$work/events.txt" --out docs/schedule-edited.png
