#!/usr/bin/env bash
# The editor as a user meets it, under Xvfb with a window manager (openbox),
# driven by xdotool:
#  - a copy of an example profile: drag a new period, retime it through the
#    boxes, fill Saturday from the popup menu, undo and redo, save. The saved
#    schedule is what the same edits give when replayed by render-schedule,
#    and every byte outside the schedule record is unchanged;
#  - saving over a file that another program changed is refused;
#  - a save that fails for a full disk leaves the file as it was;
#  - a new calendar painted by mouse and keyboard, saved and listed by
#    velmar-profiles calendar;
#  - both exported to iCalendar and parsed strictly (python3-icalendar).
# Exit status 77 when the display tools are missing.
#
# Usage: editor_e2e.sh VELMAR_EDITOR VELMAR_PROFILES EXAMPLE_PROFILES_DIR
set -euo pipefail

editor=$1
profiles=$2
examples=$3
here=$(cd "$(dirname "$0")" && pwd)

fail() {
  echo "FAIL: $*"
  cat "${work:-/nonexistent}"/*.log 2>/dev/null | tail -n 20 || true
  exit 1
}
for tool in Xvfb openbox xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is missing (scripts/install-deps.sh test)"; exit 77; }
done
python=
for candidate in /usr/bin/python3 python3; do
  if "$candidate" -c 'import icalendar' 2>/dev/null; then python=$candidate; break; fi
done
[ -n "$python" ] || fail "no python3 with the icalendar package (python3-icalendar)"

source "$here/../../scripts/xvfb-tray.sh"
start_xvfb || fail "Xvfb did not start"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1
export LANG=C.UTF-8 LC_ALL=C.UTF-8

window_exists() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
wait_window() { wait_for "${2:-15}" window_exists "$1"; }
# The top left corner of a component's picture box on the screen: "X Y".
picture_at() {
  import -window root "$work/screen.png"
  convert "$work/screen.png" -depth 8 "rgb:$work/screen.rgb"
  "$python" "$here/find_picture.py" "$work/screen.rgb" 800 600 "$1"
}
# Types into the focused widget, slowly enough for a loaded machine.
type_text() { xdotool type --delay 30 "$1"; }
key() { xdotool key --delay 80 "$@"; sleep 0.3; }
drag() { # X1 Y1 X2 Y2 in picture pixels
  xdotool mousemove $((px + $1)) $((py + $2)); sleep 0.2
  xdotool mousedown 1; sleep 0.2
  xdotool mousemove $((px + $3)) $((py + $4)); sleep 0.2
  xdotool mouseup 1; sleep 0.3
}
# Waits until a file's bytes differ from a copy.
wait_changed() { wait_for 10 bash -c '! cmp -s "$0" "$1"' "$1" "$2"; }
schedule_of() { "$profiles" show "$1" | sed -n '/^schedule:/,$p'; }

echo "== a profile: drag, retime, menu, undo, redo, save"
profile="$work/Profile_0002.dat"
cp "$examples/Profile_0002.dat" "$profile"
printf 'TAIL!' >>"$profile" # bytes behind the schedule record stay too
cp "$profile" "$work/original.dat"
"$editor" "$profile" >"$work/editor.log" 2>&1 &
editor_pid=$!
pids+=("$editor_pid")
wait_window 'Profile_0002.dat' || fail "no editor window"
sleep 1
read -r px py < <(picture_at schedule) || fail "no schedule grid on the screen"
echo "grid at $px,$py"
drag 234 35 258 35                     # Tuesday 17:00-19:00; the group copies it
key alt+t ctrl+a; type_text "17:30"    # the Start box
key alt+o ctrl+a; type_text "1945"     # the Stop box
key Return
xdotool mousemove $((px + 174)) $((py + 136)) click 3; sleep 0.5   # Saturday's menu
key f                                  # Fill 00:00-24:00
key ctrl+z
key ctrl+shift+z
key ctrl+s
wait_changed "$profile" "$work/original.dat" || fail "the profile was not saved: $(cat "$work/editor.log")"
[ -f "$profile~" ] || fail "the previous file was not kept as Profile_0002.dat~"
cmp -s "$profile~" "$work/original.dat" || fail "the kept file is not the previous one"

cat >"$work/edits.txt" <<'SCRIPT'
# the same edits as a script
down 234 35
move 258 35
up 258 35
times 17:30 1945
down 174 136 2
fill
undo
redo
SCRIPT
"$profiles" render-schedule "$work/original.dat" --out "$work/replayed.png" --events "$work/edits.txt" |
  sed -n '/^schedule:/,/^host:/p' | sed '$d' >"$work/replayed.txt"
schedule_of "$profile" >"$work/saved.txt"
diff -u "$work/replayed.txt" "$work/saved.txt" || fail "the saved schedule is not the replayed one"
grep -q 'day type 1 (Tue): .*periods: 07:00-16:00 17:30-19:45' "$work/saved.txt" || fail "Tuesday: $(cat "$work/saved.txt")"
grep -q 'day type 5 (Sat): .*periods: 00:00-24:00' "$work/saved.txt" || fail "Saturday was not filled"
record=$("$profiles" show "$profile" | sed -n 's/^profile record: \([0-9]*\) bytes at offset 2$/\1/p')
start=$((2 + record))
cmp -n "$start" "$profile" "$work/original.dat" || fail "a byte before the schedule record changed"
[ "$(tail -c 5 "$profile")" = "TAIL!" ] || fail "the bytes behind the schedule record changed"
old_end=$(($(stat -c %s "$work/original.dat") - 5))
new_end=$(($(stat -c %s "$profile") - 5))
[ $((new_end - start)) -eq $((old_end - start + 24)) ] || fail "the record is not 24 bytes longer (6 new periods)"
echo "saved: the replayed schedule, every other byte unchanged"

echo "== export to iCalendar"
key ctrl+e
wait_window 'Export to iCalendar' 10 || fail "no export dialog"
sleep 0.5
type_text "$work/profile.ics"; key Return
wait_for 10 test -s "$work/profile.ics" || fail "nothing exported"

echo "== saving over a file changed on disk is refused"
"$python" - "$profile" <<'PY'
import os, sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
data[4:6] = b"\x00\x00" if data[4:6] != b"\x00\x00" else b"\xff\xff"  # the server flips Active
open(path + ".new", "wb").write(data)
os.replace(path + ".new", path)
PY
cp "$profile" "$work/server.dat"
xdotool mousemove $((px + 150)) $((py + 160)) click 1; sleep 0.3   # Sunday
key Insert
key ctrl+s
wait_window 'File changed on disk' 10 || fail "no question about the changed file"
key Escape
sleep 0.5
cmp -s "$profile" "$work/server.dat" || fail "the server's file was overwritten"
echo "refused"
kill "$editor_pid"; wait "$editor_pid" 2>/dev/null || true

echo "== a failed write (full disk) leaves the file intact"
if unshare -rm true 2>/dev/null; then
  mkdir -p "$work/small"
  cp "$examples/Profile_0005.dat" "$work/small.dat"
  cat >"$work/full-disk.sh" <<FULL
set -e
mount -t tmpfs -o size=64k tmpfs "$work/small"
cp "$work/small.dat" "$work/small/Profile_0005.dat"
dd if=/dev/zero of="$work/small/filler" bs=1k count=1000 2>/dev/null || true
exec "$editor" "$work/small/Profile_0005.dat"
FULL
  unshare -rm bash "$work/full-disk.sh" >"$work/full.log" 2>&1 &
  full_pid=$!
  pids+=("$full_pid")
  wait_window 'Profile_0005.dat' || fail "no editor on the full disk"
  sleep 1
  key Down Insert ctrl+s
  wait_window '^Velmar Editor$' 10 || fail "no error message for the failed save"
  key Return
  inside="/proc/$(pgrep -P "$full_pid" -n || echo "$full_pid")/root$work/small"
  cmp "$work/small.dat" "$inside/Profile_0005.dat" || fail "the file on the full disk changed"
  leftovers=$(find "$inside" -name '.*saving*' | wc -l)
  [ "$leftovers" -eq 0 ] || fail "a temporary file was left on the full disk"
  echo "the save failed and the file is intact"
  kill "$full_pid" 2>/dev/null || true
  wait "$full_pid" 2>/dev/null || true
else
  echo "no user namespaces here: the full disk is left to the unit tests"
fi

echo "== a new calendar painted by mouse and keyboard"
"$editor" >"$work/editor2.log" 2>&1 &
pids+=($!)
wait_window 'Velmar Editor' || fail "no editor window"
sleep 0.5
key ctrl+n
sleep 0.5
read -r cx cy < <(picture_at calendar) || fail "no calendar on the screen"
echo "calendar at $cx,$cy"
key alt+d Down Down Down Down Down Down Down   # the combo box: entry 7, code 6 (Saturday)
xdotool mousemove $((cx + 30 + 40 * 3 + 20)) $((cy + 20 + 25 * 2 + 12)) click 1; sleep 0.3  # row 2, Thursday
key Right space Right space                     # day 1, then day 2
"$python" - "$work/expected-dates" <<'PY'
import datetime, sys
today = datetime.date.today()
year, month = min(max(today.year, 2000), 2039), today.month
first = datetime.date(year, month, 1)
clicked = first + datetime.timedelta(days=2 * 7 + 3 - first.weekday())
dates = sorted({first, first + datetime.timedelta(days=1), clicked})
open(sys.argv[1], "w").write("".join("%s 6\n" % d.isoformat() for d in dates))
PY
key ctrl+s
wait_window 'Save as' 10 || fail "no Save as dialog"
sleep 0.5
type_text "$work/painted.cal"; key Return
wait_for 10 test -s "$work/painted.cal" || fail "the calendar was not saved"
"$profiles" calendar "$work/painted.cal" >"$work/listed" || fail "velmar-profiles calendar failed"
diff -u "$work/expected-dates" "$work/listed" || fail "the calendar lists other dates"
key ctrl+e
wait_window 'Export to iCalendar' 10 || fail "no export dialog"
sleep 0.5
type_text "$work/calendar.ics"; key Return
wait_for 10 test -s "$work/calendar.ics" || fail "nothing exported"

echo "== iCalendar files parse strictly"
# Profile_0002: Monday to Friday 07:00-16:00 and 17:30-19:45, Saturday 00:00-24:00.
"$python" "$here/check_icalendar.py" "$work/profile.ics" 11 "$work/calendar.ics" 3 || fail "the iCalendar check"
echo "PASS"
