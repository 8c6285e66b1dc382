#!/usr/bin/env bash
# The editor as a screen reader meets it: the real program under Xvfb on a
# private session bus with its own accessibility bus (at-spi2-core), read
# through pyatspi. The schedule grid is found by its accessible name, edited
# with the keyboard, and its description must say the cursor's day and the
# selected period; at zoom 3 a drag of 30 screen pixels moves an edge by 50
# minutes, and the saved file says so. Then at QT_SCALE_FACTOR=2 on the same
# 1280 x 800 screen the window fits and its Apply button is on the screen, and
# at zoom 1 a screenshot shows the grid drawn at the doubled size: the picture
# render-schedule draws at --scale 2, not the one of scale 1 enlarged.
# Last, the menus read in English at LANG=C and in Swedish at
# LANG=sv_SE.UTF-8.
# Exit status 77 when the tools are missing.
#
# Usage: accessibility_e2e.sh VELMAR_EDITOR VELMAR_PROFILES EXAMPLE_PROFILES_DIR
set -euo pipefail

editor=$1
profiles=$2
examples=$3
here=$(cd "$(dirname "$0")" && pwd)
tools=(xdotool import convert identify)
xvfb_arguments=(-screen 0 1280x800x24)
source "$here/../support/accessibility-session.sh"
export LANG=C.UTF-8 LC_ALL=C.UTF-8

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

# Zoom 1, the pointer off the grid (no pointer tip over it), then the screen.
window=$(xdotool search --onlyvisible --name "Velmar Editor" | head -n1)
xdotool mousemove 1279 799
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --delay 150 ctrl+minus ctrl+minus ctrl+minus
sleep 1
import -window root "$work/screen.png"
for scale in 1 2; do
  "$profiles" render-schedule "$work/Profile_0003.dat" --scale "$scale" --out "$work/grid$scale.png" >/dev/null ||
    fail "render-schedule --scale $scale"
done
pictures=()
for name in screen grid2 grid1; do # each as raw RGB with its width and height
  convert "$work/$name.png" -depth 8 "rgb:$work/$name.rgb" || fail "convert $name.png"
  read -r width height < <(identify -format '%w %h\n' "$work/$name.png")
  pictures+=("$work/$name.rgb" "$width" "$height")
done
/usr/bin/python3 "$here/compare_picture.py" "${pictures[@]}" || fail "the grid on the screen is not the one drawn at scale 2"
kill "${pids[-1]}" 2>/dev/null || true
wait "${pids[-1]}" 2>/dev/null || true

for lang in C sv_SE.UTF-8; do
  echo "== the menus at LANG=$lang"
  LANG=$lang LC_ALL=$lang "$editor" "$work/Profile_0003.dat" >"$work/editor-$lang.log" 2>&1 &
  pids+=($!)
  if [ "$lang" = C ]; then
    names=(File "New calendar" Save Quit Edit Undo View)
  else
    names=(Arkiv "Ny kalender" Spara Avsluta Redigera Ångra Visa)
  fi
  /usr/bin/python3 "$here/accessibility_probe.py" menus "${names[@]}" ||
    fail "the editor's menus are not in the language of LANG=$lang"
  kill "${pids[-1]}" 2>/dev/null || true
  wait "${pids[-1]}" 2>/dev/null || true
done
echo "PASS"
