#!/usr/bin/env bash
# The monitor's window as a screen reader meets it: the real program on the
# example data folder under Xvfb (no tray, so the window shows at start), on a
# private session bus with its own accessibility bus (at-spi2-core), read
# through pyatspi. Every row of the list must say its profile's name and
# "active" or "inactive" as `velmar-profiles list` gives the profile, in
# English and, with LANG=sv_SE.UTF-8, "aktiv" or "inaktiv". The window's
# caption, its status line and its menu (the tray menu's commands) read in
# English at LANG=C (the window is shown: "Hide profiles") and in Swedish at LANG=sv_SE.UTF-8, the caption alike in
# both; so does a problem in the status line, on a folder with a file too
# short to be a profile. Last, in Swedish with trayer as the tray, the icon's
# tooltip still starts with "Aktiva profiler:".
# Exit status 77 when the tools are missing.
#
# Usage: monitor_accessibility_e2e.sh PROGRAM VELMAR_PROFILES DATA_FOLDER
set -euo pipefail

program=$1
profiles=$2
data=$3
here=$(cd "$(dirname "$0")" && pwd)
tools=(trayer xdotool xwininfo)
xvfb_arguments=()
source "$here/../support/accessibility-session.sh"

# The rows as the console lists them: "+ name" active, "- name" inactive.
"$profiles" list "/PATH:$data" | grep -E '^[-+] ' >"$work/expected" || fail "velmar-profiles list failed"

# The example folder with one file too short to hold a format version.
cp -r "$data" "$work/broken"
printf 'a' >"$work/broken/Profiles/Profile_0099.dat"

# texts LANG STATUS MENU_ITEM...: the caption, the status line and the menu at LANG.
texts() {
  local lang=$1
  shift
  /usr/bin/python3 "$here/monitor_accessibility_probe.py" texts "$@" ||
    fail "the window's texts read through the accessibility bus are wrong at LANG=$lang"
}

for lang in C C.UTF-8 sv_SE.UTF-8; do
  echo "== LANG=$lang"
  LANG=$lang LC_ALL=$lang "$program" "/PATH:$data" >"$work/monitor-$lang.log" 2>&1 &
  pids+=($!)
  words="active inactive"
  [ "$lang" = sv_SE.UTF-8 ] && words="aktiv inaktiv"
  # shellcheck disable=SC2086
  /usr/bin/python3 "$here/monitor_accessibility_probe.py" "$work/expected" $words ||
    fail "the rows read through the accessibility bus are wrong at LANG=$lang"
  if [ "$lang" = sv_SE.UTF-8 ]; then
    texts "$lang" "Uppdaterad " "Dölj profiler" "Redigera tidsschema…" "Öppna datamappen" \
      "Starta vid inloggning" "Meddela ändringar" "Om" "Avsluta"
  else
    texts "$lang" "Updated " "Hide profiles" "Edit schedule…" "Open data folder" \
      "Start at login" "Notify on changes" "About" "Quit"
  fi
  kill "${pids[-1]}" 2>/dev/null || true
  wait "${pids[-1]}" 2>/dev/null || true

  echo "== LANG=$lang, a problem in the status line"
  LANG=$lang LC_ALL=$lang "$program" "/PATH:$work/broken" >"$work/broken-$lang.log" 2>&1 &
  pids+=($!)
  if [ "$lang" = sv_SE.UTF-8 ]; then
    texts "$lang" "Profile_0099.dat: för kort för en formatversion" "Avsluta"
  else
    texts "$lang" "Profile_0099.dat: too short to hold a format version" "Quit"
  fi
  kill "${pids[-1]}" 2>/dev/null || true
  wait "${pids[-1]}" 2>/dev/null || true
done

echo "== LANG=sv_SE.UTF-8, the tray icon's tooltip keeps its heading"
start_trayer || fail "trayer did not show its panel"
LANG=sv_SE.UTF-8 LC_ALL=sv_SE.UTF-8 "$program" "/PATH:$data" >"$work/tray.log" 2>&1 &
pids+=($!)
wait_for 15 icon_shown || fail "no icon in the tray"
read -r x y < <(icon_position)
xdotool mousemove $((x + 5)) $((y + 5)) sleep 0.3 mousemove $((x + 11)) $((y + 11))
/usr/bin/python3 "$here/monitor_accessibility_probe.py" tooltip "Aktiva profiler:" "Nattlarm Lager" ||
  fail "the tooltip read through the accessibility bus is wrong at LANG=sv_SE.UTF-8"
echo "PASS"
