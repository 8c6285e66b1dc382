#!/usr/bin/env bash
# The tray icon's tooltip as the user reads it: the real program under Xvfb
# with openbox and trayer (an XEmbed tray, which has no length limit on its
# tooltips), the pointer resting on the icon, the tooltip read back through the
# accessibility bus. Four active profiles with long names are all named in
# full; a fifth active profile adds " (more...)" behind the fourth. The text is
# also the one `velmar-profiles list` prints for this platform.
# Exit status 77 when the tools are missing.
#
# Usage: tooltip_e2e.sh PROGRAM VELMAR_PROFILES DATA_FOLDER
set -euo pipefail

program=$1
profiles=$2
data=$3
here=$(cd "$(dirname "$0")" && pwd)
tools=(openbox trayer xdotool xwininfo)
xvfb_arguments=()
source "$here/../support/accessibility-session.sh"

# rename_active DATA NAME...: gives the active profiles, in file order, the
# names given (windows-1252, as the server writes them).
rename_active() {
  /usr/bin/python3 - "$@" <<'PY'
import pathlib, struct, sys
names = iter(sys.argv[2:])
for path in sorted(pathlib.Path(sys.argv[1], "Profiles").glob("Profile_*.dat")):
    data = path.read_bytes()
    if struct.unpack_from("<h", data, 4)[0] == 0:
        continue
    name = next(names, None)
    if name is None:
        break
    old = struct.unpack_from("<h", data, 6)[0]
    new = name.encode("cp1252")
    path.write_bytes(data[:6] + struct.pack("<h", len(new)) + new + data[8 + old:])
PY
}

# activate_one DATA: turns the first inactive profile active.
activate_one() {
  /usr/bin/python3 - "$1" <<'PY'
import pathlib, struct, sys
for path in sorted(pathlib.Path(sys.argv[1], "Profiles").glob("Profile_*.dat")):
    data = bytearray(path.read_bytes())
    if struct.unpack_from("<h", data, 4)[0] == 0:
        struct.pack_into("<h", data, 4, -1)
        path.write_bytes(data)
        break
PY
}

# read_tooltip: rests the pointer on the icon until the tooltip shows and
# prints its text, line breaks as "\n" (as `velmar-profiles list` prints it).
read_tooltip() {
  local x y attempt
  read -r x y < <(icon_position)
  for attempt in 1 2 3 4 5; do
    xdotool mousemove 0 300 sleep 0.3 mousemove $((x + 8)) $((y + 8)) sleep 0.2 mousemove $((x + 11)) $((y + 11))
    /usr/bin/python3 "$here/monitor_accessibility_probe.py" tooltip-text 3 && return 0
  done
  return 1
}

start_wm || fail "openbox did not start"
start_trayer || fail "trayer did not show its panel"
cp -r "$data" "$work/data"
long=("Nattlarm Lager, norra flygeln och lastkajen"
  "Serverrum B2 med reservkraft och kylning"
  "Helgpatrull Östra industriområdet"
  "Åsa hemtjänst, nattpatrull i Ytterby")
rename_active "$work/data" "${long[@]}"

LANG=C.UTF-8 "$program" "/PATH:$work/data" >"$work/monitor.log" 2>&1 &
pids+=($!)
wait_for 15 icon_shown || fail "no icon in the tray"

expected_tooltip() {
  "$profiles" list "/PATH:$work/data" | sed -n 's/^tooltip: //p'
}

echo "== four active profiles with long names"
expected=$(expected_tooltip)
shown() { tooltip=$(read_tooltip) && [ "$tooltip" = "$expected" ]; }
wait_for 20 shown || fail "the tooltip reads '${tooltip:-nothing}', velmar-profiles list says '$expected'"
echo "$tooltip"
for name in "${long[@]}"; do
  [[ "$tooltip" == *"\\n· $name\\n"* || "$tooltip" == *"\\n· $name" ]] || fail "'$name' is not named in full"
done
[[ "$tooltip" == "Aktiva profiler:\\n"* ]] || fail "the tooltip does not begin with 'Aktiva profiler:'"
[[ "$tooltip" != *"(more...)"* ]] || fail "'(more...)' with only four active profiles"

echo "== a fifth active profile"
activate_one "$work/data"
fifth() { expected=$(expected_tooltip) && [[ "$expected" == *" (more...)" ]]; }
wait_for 5 fifth || fail "velmar-profiles list does not see a fifth active profile: $expected"
# The monitor sees it within a tick and a half.
wait_for 20 shown || fail "the tooltip reads '${tooltip:-nothing}', velmar-profiles list says '$expected'"
echo "$tooltip"
[ "$(grep -o '\\n· ' <<<"$tooltip" | wc -l)" -eq 4 ] || fail "not four names before ' (more...)'"
echo "PASS"
