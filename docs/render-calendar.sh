#!/usr/bin/env bash
# Renders docs/calendar-month.png: December 2026 of a calendar with Swedish
# Christmas holidays and special day types, painted with the mouse through an
# event script, with the time axis of the example profile "Öland sommarhus".
#
# Usage: docs/render-calendar.sh [PATH_TO_velmar-profiles]
# Without an argument the tool of the default build is used (built when missing).
set -euo pipefail
cd "$(dirname "$0")/.."

tool=${1:-build/default/tools/velmar-profiles/velmar-profiles}
if [[ ! -x $tool ]]; then
  scripts/build.sh default >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# An empty calendar: 14,610 codes of 0.
head -c 29220 /dev/zero >"$work/empty.cal"

# December 2026 starts on a Tuesday; a date's box centre is at
# x = 50 + 40 * column, y = 32 + 25 * row. "select k" chooses combo entry k,
# which paints code k - 1.
cat >"$work/events.txt" <<'SCRIPT'
# 23rd: code 6, the Saturday day type (its name "Sat" is shown)
select 7
down 130 107
up 130 107
# 24th and 31st: code 9, day type 8 (16:00-24:00 in the profile), image 2
select 10
down 170 107
up 170 107
down 170 132
up 170 132
# 25th and 26th: code 8, day type 7 (the whole day), image 1, painted by dragging
select 9
down 210 107
move 250 107
up 250 107
# 28th to 30th: code 10, day type 9, not in use in the profile: weekday periods
select 11
down 50 132
move 90 132
move 130 132
up 130 132
# the pointer over Christmas Eve and New Year's Eve
move 170 107
move 170 132
SCRIPT

LC_ALL=sv_SE.UTF-8 "$tool" render-calendar "$work/empty.cal" \
  --month 2026-12 --today 2026-12-07 \
  --schedule "examples/Project/Profiles/Profile_0004.dat" --time-axis \
  --holiday "2026-12-24=Julafton" --holiday "2026-12-25=Juldagen" \
  --holiday "2026-12-26=Annandag jul" --holiday "2026-12-31=Nyårsafton" \
  --hidden-holiday "2026-12-13=Lucia" \
  --events "$work/events.txt" --save "$work/december.cal" \
  --out docs/calendar-month.png

"$tool" calendar "$work/december.cal" --year 2026
