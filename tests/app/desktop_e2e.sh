#!/usr/bin/env bash
# The tray program as a user meets it: on a real X server (Xvfb) with a window
# manager (openbox) and a notification area (trayer), under a session manager,
# without a reachable display, and under a Wayland compositor (weston).
#
# Usage: desktop_e2e.sh CASE PROGRAM DATA_FOLDER
#   tray        icon in the tray, a click shows the window, the title-bar close,
#               Esc and Ctrl+W hide it and the program goes on, SIGTERM and
#               SIGHUP end it with the icon removed; no tray at start shows the
#               window, a later tray gets the icon
#   quit        the icon's menu ("Show profiles", "Quit") and Ctrl+Q
#   menu        every other item of the icon's menu, picked by its accelerator:
#               Show/Hide profiles, Edit schedule… (the selected row's file, or
#               the one asked for, given to the velmar-editor beside the
#               program; the item disabled without one), Open data folder (the
#               folder handed to the desktop's opener, xdg-open), Start at
#               login (an entry desktop-file-validate accepts, with --notify
#               while Notify on changes is checked; unchecked, none), About
#               (a dialog that Esc closes)
#   notify      with --notify a profile that turns active gives one desktop
#               notification naming it (dunst on a session bus of the test's
#               own); without --notify, none
#   session     a checkpoint keeps it running, a log-off ends it; never restarted
#               (needs VELMAR_SESSION_MANAGER: the test's session manager)
#   instance    one instance per data folder; another folder runs beside; a
#               killed instance does not block; the console is not limited
#   squatted    without a runtime folder the lock lives in the program's own
#               folder under the cache folder; when someone squats that (a link,
#               a folder open to all, another user's folder as root) the program
#               still starts, shows its icon and says once that it runs unchecked
#   no-display  a display that cannot be reached gives one line on standard
#               error and the console front end, never an abort; SIGTERM and
#               SIGHUP end the console with status 0
#   launcher    --help and --version; the launcher never loads Qt; it finds the
#               desktop executable beside it or in the installed layout
#               (VELMAR_DESKTOP_SUBDIR: that folder relative to the launcher's)
#   wayland     the program under weston (headless)
# PROGRAM is the launcher velmar-active-profiles, with the desktop executable
# beside it as in the build tree. Exit status 77 (skipped) only when Xvfb (or,
# for the wayland case, weston) is not installed.
set -euo pipefail

case_name=$1
program=$2
data=$3
desktop="$(dirname "$program")/velmar-active-profiles-desktop"
caption='^Velmar - Active Profiles$'

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "Xvfb is not installed: skipped"
  exit 77
fi
for tool in openbox trayer xdotool xwininfo xprop convert import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "FAIL: $tool is missing (scripts/install-deps.sh)"; exit 1; }
done

source "$(dirname "$0")/../../scripts/xvfb-tray.sh"

fail() {
  echo "FAIL: $*"
  [ -n "${trayer_pid:-}" ] && ! running "$trayer_pid" && echo "(trayer has ended)"
  for log in "$work"/*.out "$work"/*.err "$work"/*.log; do
    [ -s "$log" ] && { echo "--- $(basename "$log")"; tail -n 20 "$log"; }
  done
  exit 1
}

# start_program NAME [ARGUMENTS...]: runs PROGRAM in the background with its
# output in $work/NAME.out and NAME.err; sets program_pid.
start_program() {
  local name=$1; shift
  "$program" "$@" >"$work/$name.out" 2>"$work/$name.err" &
  program_pid=$!
  pids+=("$program_pid")
}

running() { kill -0 "$1" 2>/dev/null; }
ended() { ! running "$1"; }

# expect_exit PID SECONDS: waits for the process to end; fails unless its
# status is 0.
expect_exit() {
  local pid=$1 seconds=$2 status=0
  wait_for "$seconds" ended "$pid" || fail "process $pid still running after $seconds s"
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
}

# stop_program SIGNAL: the signal ends the program with status 0 and no icon.
stop_program() {
  kill "-$1" "$program_pid"
  expect_exit "$program_pid" 15
  icon_shown && fail "the icon stayed in the tray after SIG$1"
  return 0
}

printed_block() { grep -q '^tooltip: ' "$work/$1.out"; }
line_count() { wc -l <"$work/$1"; }

# expect_one_error_line NAME PATTERN: standard error holds exactly one line,
# matching PATTERN.
expect_one_error_line() {
  local lines
  lines=$(line_count "$1.err")
  [ "$lines" -eq 1 ] || fail "$1: $lines lines on standard error, not one"
  grep -Eq "$2" "$work/$1.err" || fail "$1: standard error does not match $2: $(cat "$work/$1.err")"
}

# Opens the icon's context menu and picks its ENTRY-th item with the keyboard
# ("last": the last item).
pick_menu_entry() {
  local entry=$1 x y keys=()
  read -r x y < <(icon_position)
  xdotool mousemove $((x + 11)) $((y + 11)) click 3
  wait_for 10 popup_mapped || return 1
  if [ "$entry" = last ]; then
    keys=(Up)
  else
    for _ in $(seq "$entry"); do keys+=(Down); done
  fi
  xdotool key "${keys[@]}" Return
}
# Opens the icon's context menu and presses KEY, an item's accelerator; waits
# for the menu to close first when one is still open. Now and then the first
# click after another item's command opens nothing, so callers retry with
# wait_for; each try waits three seconds for the menu.
pick_menu_key() {
  local key=$1 x y
  wait_for 5 popup_unmapped || return 1
  read -r x y < <(icon_position)
  xdotool mousemove $((x + 11)) $((y + 11)) click 3
  wait_for 3 popup_mapped || return 1
  xdotool key "$key"
}
popup_unmapped() { ! popup_mapped; }
# The menu is an override-redirect window straight below the root, unlike the
# icon (in the tray's panel) and the window (in the window manager's frame);
# of those, it is the one that is not the icon's tooltip.
popup_mapped() {
  local id
  for id in $(xwininfo -root -children | awk '/\("velmar-active-profiles" / { print $1 }'); do
    xwininfo -id "$id" | grep -q 'Map State: IsViewable' &&
      ! xprop -id "$id" _NET_WM_WINDOW_TYPE | grep -q '_NET_WM_WINDOW_TYPE_TOOLTIP' && return 0
  done
  return 1
}

case_tray() {
  start_wm || fail "openbox did not start"
  start_trayer || fail "trayer did not show its panel"
  start_program tray "/PATH:$data"
  wait_for 15 icon_shown || fail "no icon in the tray"
  window_shown && fail "the window is shown at start although a tray is there"
  # The program's own icon, a blue list card under a red bell, once it is painted.
  icon_is_the_programs() {
    local x y
    read -r x y < <(icon_position)
    import -window root -crop "22x22+$x+$y" +repage "$work/icon.png"
    blue=$(count "$work/icon.png" 'rgb(31,91,181)')
    bell=$(count "$work/icon.png" 'rgb(216,57,43)')
    ((blue > 30 && bell > 10))
  }
  wait_for 5 icon_is_the_programs || fail "the tray does not show the program's icon ($blue blue, $bell red pixels)"
  echo "icon pixels: $blue blue, $bell red"
  wait_for 10 click_icon || fail "clicking the icon did not show the window"
  local window
  window=$(xdotool search --onlyvisible --name "$caption" | head -n1)
  xwininfo -id "$window" >"$work/window.txt"
  grep -q 'Map State: IsViewable' "$work/window.txt" || fail "window not mapped"
  grep -q 'Width: 312' "$work/window.txt" || fail "inner width is not 312: $(grep Width "$work/window.txt")"
  # The list's 211 pixels, and the status line under them.
  local height
  height=$(awk '/Height:/ {print $2}' "$work/window.txt")
  ((height > 211 && height < 250)) || fail "height $height is not the list's 211 and a status line"
  sleep 0.5
  import -window "$window" "$work/window.png"
  local red green
  red=$(count_near 'rgb(215,30,30)')
  green=$(count_near 'rgb(30,175,50)')
  echo "red ball pixels: $red, green ball pixels: $green"
  ((red > 20 && green > 20)) || fail "the window does not show red and green rows"

  local keys x y
  for keys in alt+F4 Escape ctrl+w; do
    echo "== $keys hides the window; the program goes on in the tray"
    xdotool windowactivate --sync "$window" key --clearmodifiers "$keys"
    window_hidden() { ! window_shown; }
    wait_for 5 window_hidden || fail "$keys left the window shown"
    running "$program_pid" || fail "$keys ended the program"
    icon_shown || fail "$keys removed the icon"
    wait_for 10 click_icon || fail "clicking the icon did not show the window again"
    window=$(xdotool search --onlyvisible --name "$caption" | head -n1)
  done
  echo "== a click on the icon hides the shown, active window"
  sleep 1 # not a double click with the click that showed it
  xdotool windowactivate --sync "$window"
  read -r x y < <(icon_position)
  xdotool mousemove $((x + 11)) $((y + 11)) click 1
  wait_for 5 window_hidden || fail "a click on the icon left the active window shown"
  running "$program_pid" || fail "the click ended the program"
  stop_program TERM

  echo "== no tray at start, one later; SIGHUP"
  kill "$trayer_pid"
  wait "$trayer_pid" 2>/dev/null || true
  tray_panel_gone() { ! tray_panel_shown; }
  wait_for 10 tray_panel_gone || fail "trayer did not go"
  start_program late "/PATH:$data"
  wait_for 15 window_shown || fail "without a tray the window must start shown"
  start_trayer || fail "trayer did not show its panel"
  wait_for 15 icon_shown || fail "the icon did not appear in a tray that started later"
  stop_program HUP
}

count() { # pixels of picture $1 near colour $2
  convert "$1" -fuzz 25% -fill black +opaque "$2" -fill white -opaque "$2" \
    -colorspace gray -format '%[fx:round(mean*w*h)]' info:
}
count_near() { count "$work/window.png" "$1"; } # pixels of the window near a colour

case_quit() {
  start_wm || fail "openbox did not start"
  start_trayer || fail "trayer did not show its panel"

  echo "== the menu's Show profiles"
  start_program show "/PATH:$data"
  wait_for 15 icon_shown || fail "no icon in the tray"
  wait_for 20 pick_menu_entry 1 || fail "the icon's menu did not open"
  wait_for 10 window_shown || fail "Show profiles did not show the window"

  echo "== Ctrl+Q in the window"
  local window
  window=$(xdotool search --onlyvisible --name "$caption" | head -n1)
  xdotool windowactivate --sync "$window" key --clearmodifiers ctrl+q
  expect_exit "$program_pid" 15
  icon_shown && fail "the icon stayed after Ctrl+Q"

  echo "== the menu's Quit"
  start_program quit "/PATH:$data"
  wait_for 15 icon_shown || fail "no icon in the tray"
  wait_for 20 pick_menu_entry last || fail "the icon's menu did not open"
  expect_exit "$program_pid" 15
  icon_shown && fail "the icon stayed after Quit"
  return 0
}

# Lines of the recording stub $1 (velmar-editor, xdg-open): one per argument,
# a line "--" after each call.
recorded() { cat "$work/$1.calls" 2>/dev/null || true; }
recording_stub() { # FOLDER NAME
  printf '#!/bin/sh\nprintf "%%s\\n" "$@" -- >>"%s"\n' "$work/$2.calls" >"$1/$2"
  chmod +x "$1/$2"
}
dialog_shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
# keys_to_dialog NAME KEYS...: the keys typed into the shown window named NAME
# (Qt may keep more than one X window of that name; an unmapped one is skipped).
keys_to_dialog() {
  local name=$1 id; shift
  for id in $(xdotool search --onlyvisible --name "$name"); do
    xdotool windowactivate --sync "$id" 2>/dev/null && break
  done
  sleep 0.5 # the dialog's focus settles
  xdotool key --delay 100 "$@"
}

case_menu() {
  command -v desktop-file-validate >/dev/null 2>&1 || fail "desktop-file-validate is missing (scripts/install-deps.sh)"
  start_wm || fail "openbox did not start"
  start_trayer || fail "trayer did not show its panel"
  # The program in a folder of its own, with a recording velmar-editor beside
  # it and a recording xdg-open, the opener of a desktop without a known
  # environment, first on PATH; the autostart entry in a private
  # configuration folder.
  mkdir -p "$work/bin" "$work/path" "$work/config"
  cp "$program" "$desktop" "$work/bin/"
  recording_stub "$work/bin" velmar-editor
  recording_stub "$work/path" xdg-open
  export PATH="$work/path:$PATH" XDG_CONFIG_HOME="$work/config"
  unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
  cp -r "$data" "$work/data"
  program="$work/bin/$(basename "$program")"
  local files entry="$work/config/autostart/velmar-active-profiles.desktop" window
  # The files in the list's order, as velmar-profiles reads them.
  [ -x "${VELMAR_PROFILES:-}" ] || fail "VELMAR_PROFILES does not name velmar-profiles"
  mapfile -t files < <("$VELMAR_PROFILES" list --json "/PATH:$work/data" |
    python3 -c 'import json, sys; print("\n".join(p["file"] for p in json.load(sys.stdin)["profiles"]))')
  ((${#files[@]} >= 4)) || fail "fewer than four profiles in the example data: ${files[*]}"

  echo "== Edit schedule… with no row selected asks for one"
  start_program menu "/PATH:$work/data"
  wait_for 15 icon_shown || fail "no icon in the tray"
  sleep 1 # the first load is done
  wait_for 20 pick_menu_key e || fail "the icon's menu did not open"
  wait_for 10 dialog_shown '^Edit schedule$' || fail "Edit schedule… did not ask for a profile"
  keys_to_dialog '^Edit schedule$' Down Return
  called_once() { [ "$(recorded "$1" | grep -c '^--$')" -eq 1 ]; }
  wait_for 10 called_once velmar-editor || fail "the editor was not started: $(recorded velmar-editor)"
  [ "$(recorded velmar-editor)" = "$work/data/Profiles/${files[1]}"$'\n--' ] ||
    fail "the editor was not started on the second profile: $(recorded velmar-editor)"

  echo "== Show profiles, a row selected, Edit schedule… edits it, Hide profiles"
  rm -f "$work/velmar-editor.calls"
  wait_for 20 pick_menu_key s || fail "the icon's menu did not open"
  wait_for 10 window_shown || fail "Show profiles did not show the window"
  window=$(xdotool search --onlyvisible --name "$caption" | head -n1)
  xdotool windowactivate --sync "$window" key End Up Up
  wait_for 20 pick_menu_key e || fail "the icon's menu did not open"
  wait_for 10 called_once velmar-editor || fail "the editor was not started: $(recorded velmar-editor)"
  local third_last=$((${#files[@]} - 3))
  [ "$(recorded velmar-editor)" = "$work/data/Profiles/${files[third_last]}"$'\n--' ] ||
    fail "the editor was not started on the selected profile ${files[third_last]}: $(recorded velmar-editor)"
  dialog_shown '^Edit schedule$' && fail "Edit schedule… asked although a row is selected"
  wait_for 20 pick_menu_key h || fail "the icon's menu did not open"
  window_hidden() { ! window_shown; }
  wait_for 10 window_hidden || fail "Hide profiles left the window shown"

  echo "== Open data folder"
  wait_for 20 pick_menu_key f || fail "the icon's menu did not open"
  wait_for 10 called_once xdg-open || fail "xdg-open was not run"
  local opened
  opened=$(recorded xdg-open | head -n1)
  [ "$(python3 -c 'import sys, urllib.parse; print(urllib.parse.unquote(urllib.parse.urlparse(sys.argv[1]).path).rstrip("/"))' \
    "$opened")" = "$work/data" ] || fail "xdg-open was asked to open $opened, not $work/data"

  echo "== Start at login, Notify on changes with it, both unchecked"
  [ -e "$entry" ] && fail "an autostart entry before Start at login"
  wait_for 20 pick_menu_key l || fail "the icon's menu did not open"
  wait_for 10 test -f "$entry" || fail "Start at login wrote no entry"
  desktop_file_validate() { desktop-file-validate "$entry" >"$work/validate.log" 2>&1 || fail "desktop-file-validate: $(cat "$work/validate.log")"; }
  desktop_file_validate
  grep -q "^Exec=.*$work/bin/velmar-active-profiles.*/PATH:$work/data" "$entry" ||
    fail "the entry does not start the program on the data folder: $(grep '^Exec=' "$entry")"
  grep -q -- '--notify' "$entry" && fail "--notify in the entry before Notify on changes"
  wait_for 20 pick_menu_key n || fail "the icon's menu did not open"
  has_notify() { grep -q -- '--notify' "$entry"; }
  wait_for 10 has_notify || fail "Notify on changes did not put --notify in the entry: $(grep '^Exec=' "$entry")"
  desktop_file_validate
  wait_for 20 pick_menu_key n || fail "the icon's menu did not open"
  lacks_notify() { ! has_notify; }
  wait_for 10 lacks_notify || fail "unchecking Notify on changes left --notify in the entry"
  wait_for 20 pick_menu_key l || fail "the icon's menu did not open"
  entry_gone() { [ ! -e "$entry" ]; }
  wait_for 10 entry_gone || fail "unchecking Start at login left the entry"

  echo "== About, closed with Esc"
  wait_for 20 pick_menu_key a || fail "the icon's menu did not open"
  wait_for 10 dialog_shown '^About Velmar Active Profiles$' || fail "About showed no dialog"
  keys_to_dialog '^About Velmar Active Profiles$' Escape
  about_gone() { ! dialog_shown '^About Velmar Active Profiles$'; }
  wait_for 10 about_gone || fail "Esc did not close the About box"
  running "$program_pid" || fail "the menu's items ended the program"
  stop_program TERM

  echo "== without velmar-editor, Edit schedule… cannot be picked"
  rm "$work/bin/velmar-editor" "$work/velmar-editor.calls"
  start_program noeditor "/PATH:$work/data"
  wait_for 15 icon_shown || fail "no icon in the tray"
  sleep 1
  wait_for 20 pick_menu_key e || fail "the icon's menu did not open"
  sleep 1
  dialog_shown '^Edit schedule$' && fail "Edit schedule… asked for a profile without an editor"
  dialog_shown '^Velmar Active Profiles$' && fail "Edit schedule… could be picked without an editor"
  popup_mapped || fail "the menu closed on a disabled item's accelerator"
  xdotool key Escape
  stop_program TERM
}

# The first inactive profile of folder $1 made active, as the server rewrites
# it: the 16-bit flag behind the format version and the first field. Prints
# its name.
activate_a_profile() {
  python3 - "$1" <<'PY'
import pathlib, struct, sys
for path in sorted(pathlib.Path(sys.argv[1], "Profiles").glob("Profile_*.dat")):
    data = bytearray(path.read_bytes())
    if struct.unpack_from("<h", data, 4)[0] == 0:
        length = struct.unpack_from("<h", data, 6)[0]
        print(data[8:8 + length].decode("cp1252"))
        struct.pack_into("<h", data, 4, -1)
        path.write_bytes(data)
        break
PY
}

case_notify() {
  command -v dunst >/dev/null 2>&1 || fail "dunst is missing (scripts/install-deps.sh)"
  source "$(dirname "$0")/../../scripts/notification-daemon.sh"
  start_wm || fail "openbox did not start"
  start_trayer || fail "trayer did not show its panel"
  start_session_bus || fail "the session bus did not start"
  start_notification_daemon || fail "dunst did not answer"
  local switches name
  for switches in --notify ""; do
    echo "== ${switches:-without --notify}"
    rm -rf "$work/data"
    cp -r "$data" "$work/data"
    local before
    before=$(notification_count)
    # shellcheck disable=SC2086 # no switch at all in the second round
    start_program "notify$switches" $switches "/PATH:$work/data"
    wait_for 15 icon_shown || fail "no icon in the tray"
    sleep 6 # the first reload is done and its signature taken
    name=$(activate_a_profile "$work/data")
    [ -n "$name" ] || fail "no inactive profile in the example data"
    if [ -n "$switches" ]; then
      one_more() { [ "$(notification_count)" -gt "$before" ]; }
      wait_for 15 one_more || fail "no notification after $name turned active"
      sleep 6 # a second reload would bring a second notification
      [ "$(notification_count)" -eq $((before + 1)) ] || fail "$(notification_count) notifications, not one more"
      notification_lines | tail -n1 >"$work/notification.txt"
      grep -qF "$name" "$work/notification.txt" || fail "the notification does not name $name: $(cat "$work/notification.txt")"
      cat "$work/notification.txt"
    else
      sleep 12
      [ "$(notification_count)" -eq "$before" ] || fail "a notification without --notify"
    fi
    stop_program TERM
  done
}

case_session() {
  local manager=${VELMAR_SESSION_MANAGER:-}
  [ -x "$manager" ] || fail "the test's session manager was not built (libsm-dev: scripts/install-deps.sh)"
  start_wm || fail "openbox did not start"
  start_trayer || fail "trayer did not show its panel"
  # No ICE authority: the manager accepts local clients by host.
  export ICEAUTHORITY="$work/iceauthority"
  mkfifo "$work/manager.in"
  exec 5<>"$work/manager.in"
  "$manager" <"$work/manager.in" >"$work/manager.out" 2>"$work/manager.err" &
  pids+=($!)
  wait_for 10 grep -q '^listening ' "$work/manager.out" || fail "the session manager did not start"
  SESSION_MANAGER=$(sed -n 's/^listening //p' "$work/manager.out") start_program session "/PATH:$data"
  wait_for 15 icon_shown || fail "no icon in the tray"
  wait_for 10 grep -q '^registered ' "$work/manager.out" || fail "the program did not join the session"
  done_count() { grep -c '^save-yourself-done 1' "$work/manager.out" || true; }

  echo "== checkpoint"
  echo checkpoint >&5
  saved_once() { [ "$(done_count)" -ge 1 ]; }
  wait_for 10 saved_once || fail "no answer to the checkpoint"
  sleep 1
  running "$program_pid" || fail "the checkpoint ended the program"
  icon_shown || fail "the checkpoint removed the icon"
  grep -q '^property RestartStyleHint 3$' "$work/manager.out" ||
    fail "the session manager was not told never to restart it: $(grep RestartStyleHint "$work/manager.out")"
  grep '^property RestartStyleHint' "$work/manager.out" | grep -vq ' 3$' &&
    fail "a restart hint other than never was given"

  echo "== log-off"
  echo logoff >&5
  saved_twice() { [ "$(done_count)" -ge 2 ]; }
  wait_for 10 saved_twice || fail "no answer to the log-off"
  grep -q '^die-sent' "$work/manager.out" || fail "the manager did not send Die"
  expect_exit "$program_pid" 15
  icon_shown && fail "the icon stayed after the log-off"
  grep '^property RestartStyleHint' "$work/manager.out" | grep -vq ' 3$' &&
    fail "a restart hint other than never was given"
  return 0
}

case_instance() {
  start_wm || fail "openbox did not start"
  start_trayer || fail "trayer did not show its panel"
  start_program first "/PATH:$data"
  local first=$program_pid
  wait_for 15 icon_shown || fail "no icon in the tray"
  window_shown && fail "the window is shown at start"

  echo "== a second start on the same folder, spelled differently"
  start_program second "/PATH:" "$data/../$(basename "$data")/."
  expect_exit "$program_pid" 15
  expect_one_error_line second 'already running'
  [ -s "$work/second.out" ] && fail "the second start printed on standard output"
  wait_for 10 window_shown || fail "the second start did not show the first one's window"
  [ "$(icon_count)" -eq 1 ] || fail "$(icon_count) icons in the tray after the second start"
  running "$first" || fail "the first instance ended"

  echo "== another folder runs beside it"
  mkdir -p "$work/other/Profiles"
  start_program other "/PATH:$work/other"
  local other=$program_pid
  two_icons() { [ "$(icon_count)" -eq 2 ]; }
  wait_for 15 two_icons || fail "no second icon for another folder"

  echo "== a killed instance leaves no lock behind"
  kill -KILL "$first"
  wait "$first" 2>/dev/null || true
  one_icon() { [ "$(icon_count)" -eq 1 ]; }
  wait_for 10 one_icon || fail "the killed instance's icon stayed"
  start_program again "/PATH:$data"
  wait_for 15 two_icons || fail "a start after a killed instance did not run: $(cat "$work/again.err")"
  kill -TERM "$program_pid"
  expect_exit "$program_pid" 15
  wait_for 10 one_icon || fail "the icon stayed after SIGTERM"
  program_pid=$other
  stop_program TERM

  echo "== the console front end is not limited"
  local console1 console2
  env -u DISPLAY "$program" "/PATH:$data" >"$work/console1.out" 2>"$work/console1.err" &
  console1=$!
  pids+=("$console1")
  env -u DISPLAY "$program" "/PATH:$data" >"$work/console2.out" 2>"$work/console2.err" &
  console2=$!
  pids+=("$console2")
  wait_for 15 printed_block console1 || fail "the first console printed nothing"
  wait_for 15 printed_block console2 || fail "a second console on the same folder printed nothing"
  kill -TERM "$console1"
  kill -HUP "$console2"
  expect_exit "$console1" 15
  expect_exit "$console2" 15
}

# run_without_display NAME EXECUTABLE PATTERN [env arguments...]: the
# executable prints the console block and one line on standard error matching
# PATTERN (none when PATTERN is empty). Sets console_pid; stop_console then
# expects status 0 on SIGTERM.
run_without_display() {
  local name=$1 executable=$2 pattern=$3; shift 3
  env "$@" "$executable" "/PATH:$data" >"$work/$name.out" 2>"$work/$name.err" &
  console_pid=$!
  pids+=("$console_pid")
  wait_for 15 printed_block "$name" || fail "$name: no console block"
  if [ -n "$pattern" ]; then
    expect_one_error_line "$name" "$pattern"
  else
    [ -s "$work/$name.err" ] && fail "$name wrote to standard error: $(cat "$work/$name.err")"
  fi
  return 0
}
stop_console() { # [SIGNAL], TERM by default
  kill "-${1:-TERM}" "$console_pid"
  expect_exit "$console_pid" 15
}
qt_loaded() { grep -q 'libQt6' "/proc/$1/maps"; }

case_squatted() {
  start_wm || fail "openbox did not start"
  start_trayer || fail "trayer did not show its panel"
  unset XDG_RUNTIME_DIR
  export XDG_CACHE_HOME="$work/cache"
  mkdir -p "$XDG_CACHE_HOME"
  # Without XDG_RUNTIME_DIR Qt itself warns while it starts; the program's own
  # lines are what counts here.
  own_lines() { grep -v '^QStandardPaths: ' "$work/$1.err" >"$work/$1-own.err" || true; }

  echo "== no runtime folder: the program's own folder in the cache folder guards the start"
  start_program fallback "/PATH:$data"
  local first=$program_pid
  wait_for 15 icon_shown || fail "no icon in the tray"
  [ "$(stat -c '%a %U' "$XDG_CACHE_HOME/velmar-active-profiles")" = "700 $(id -un)" ] ||
    fail "the fallback folder is not the user's alone: $(stat -c '%a %U' "$XDG_CACHE_HOME/velmar-active-profiles")"
  own_lines fallback
  [ -s "$work/fallback-own.err" ] && fail "the guarded start said: $(cat "$work/fallback-own.err")"
  start_program second "/PATH:$data"
  expect_exit "$program_pid" 15
  own_lines second
  expect_one_error_line second-own 'already running'
  program_pid=$first
  stop_program TERM

  local squats=(link open)
  [ "$(id -u)" -eq 0 ] && squats+=(owner)
  local squat
  for squat in "${squats[@]}"; do
    echo "== the fallback folder squatted ($squat): the program starts all the same"
    rm -rf "${XDG_CACHE_HOME:?}/velmar-active-profiles" "$work/elsewhere"
    mkdir -m 777 "$work/elsewhere"
    case $squat in
    link) ln -s "$work/elsewhere" "$XDG_CACHE_HOME/velmar-active-profiles" ;;
    open) mkdir -m 777 "$XDG_CACHE_HOME/velmar-active-profiles" ;;
    owner)
      mkdir -m 700 "$XDG_CACHE_HOME/velmar-active-profiles"
      chown 47101:47101 "$XDG_CACHE_HOME/velmar-active-profiles"
      ;;
    esac
    start_program "squat-$squat" "/PATH:$data"
    wait_for 15 icon_shown || fail "no icon in the tray with the fallback folder squatted ($squat)"
    own_lines "squat-$squat"
    expect_one_error_line "squat-$squat-own" 'no folder of the user.s own for the single-instance lock .*velmar-active-profiles (is a symbolic link|is open to other users \(mode 0777\)|belongs to user 47101)\); a second start is not prevented'
    [ -z "$(ls -A "$work/elsewhere")" ] || fail "a lock or socket was made in the squatted folder"
    stop_program TERM
  done
}

case_no_display() {
  local number
  number=$(unused_display_number) || fail "no free display number"
  echo "== DISPLAY=:$number, nothing there"
  run_without_display launcher "$program" ":$number" -u WAYLAND_DISPLAY "DISPLAY=:$number"
  qt_loaded "$console_pid" && fail "the launcher loaded Qt without a display"
  stop_console
  run_without_display desktop "$desktop" ":$number" -u WAYLAND_DISPLAY "DISPLAY=:$number"
  stop_console HUP

  echo "== WAYLAND_DISPLAY set, no compositor"
  run_without_display wayland "$program" 'velmar-nowhere' -u DISPLAY WAYLAND_DISPLAY=velmar-nowhere
  stop_console

  echo "== an X server that refuses the connection"
  xauth -f "$work/cookie" add ":$number" . "$(mcookie)" 2>/dev/null
  local own_display=${DISPLAY:-}
  start_xvfb -auth "$work/cookie" || fail "Xvfb with a cookie did not start"
  local refusing=$DISPLAY
  DISPLAY=$own_display
  run_without_display refused "$program" "$refusing" -u WAYLAND_DISPLAY "DISPLAY=$refusing" \
    XAUTHORITY=/nonexistent
  stop_console
}

case_launcher() {
  echo "== --help and --version start nothing"
  start_trayer || fail "trayer did not show its panel"
  local option status
  for option in --help --version; do
    status=0
    timeout 10 "$program" "$option" "/PATH:$data" >"$work/option.out" 2>"$work/option.err" || status=$?
    [ "$status" -eq 0 ] || fail "$option: exit status $status"
    [ -s "$work/option.err" ] && fail "$option wrote to standard error: $(cat "$work/option.err")"
    icon_shown && fail "$option started the program"
    case $option in
    --help) grep -q '^Usage: velmar-active-profiles' "$work/option.out" || fail "--help: no usage line" ;;
    --version)
      [ "$(line_count option.out)" -eq 1 ] && grep -Eq '^velmar-active-profiles [0-9]+\.[0-9]+\.[0-9]+$' \
        "$work/option.out" || fail "--version printed: $(cat "$work/option.out")"
      ;;
    esac
  done

  echo "== the launcher does not link Qt"
  readelf -d "$program" | grep NEEDED >"$work/needed.txt"
  grep -qi 'qt' "$work/needed.txt" && fail "the launcher links Qt: $(grep -i qt "$work/needed.txt")"
  run_without_display console "$program" '' -u DISPLAY -u WAYLAND_DISPLAY
  qt_loaded "$console_pid" && fail "the console front end loaded Qt"
  stop_console

  echo "== a launcher without its desktop executable runs the console"
  mkdir -p "$work/alone"
  cp "$program" "$work/alone/"
  run_without_display alone "$work/alone/$(basename "$program")" 'velmar-active-profiles-desktop'
  stop_console

  echo "== the installed layout, with the data folder beside the launcher"
  local subdir=${VELMAR_DESKTOP_SUBDIR:-}
  [ -n "$subdir" ] || fail "VELMAR_DESKTOP_SUBDIR is not set"
  mkdir -p "$work/prefix/bin" "$work/prefix/bin/$subdir"
  cp "$program" "$work/prefix/bin/"
  cp "$desktop" "$work/prefix/bin/$subdir/"
  cp -r "$data" "$work/prefix/bin/Project"
  start_wm || fail "openbox did not start"
  program="$work/prefix/bin/$(basename "$program")" start_program installed
  wait_for 15 icon_shown || fail "the installed launcher showed no icon: $(cat "$work/installed.err")"
  wait_for 10 click_icon || fail "clicking the icon did not show the window"
  local window
  window=$(xdotool search --onlyvisible --name "$caption" | head -n1)
  sleep 0.5
  import -window "$window" "$work/window.png"
  (($(count_near 'rgb(30,175,50)') > 20)) || fail "no green rows: the data folder beside the launcher was not read"
  stop_program TERM
}

case_wayland() {
  if ! command -v weston >/dev/null 2>&1; then
    echo "weston is not installed: skipped"
    exit 77
  fi
  unset DISPLAY
  weston --backend=headless-backend.so --socket=velmar-e2e --idle-time=0 >"$work/weston.log" 2>&1 &
  pids+=($!)
  wait_for 15 test -S "$XDG_RUNTIME_DIR/velmar-e2e" || fail "weston did not start"
  WAYLAND_DISPLAY=velmar-e2e WAYLAND_DEBUG=client start_program wayland "/PATH:$data"
  # weston has no notification area: the window starts shown.
  titled() { grep -q 'set_title("Velmar - Active Profiles")' "$work/wayland.err"; }
  wait_for 20 titled || fail "no window with the caption on the compositor"
  grep -q 'qt.qpa' "$work/wayland.err" && fail "Qt complained: $(grep 'qt.qpa' "$work/wayland.err" | head -n3)"
  kill -TERM "$program_pid"
  expect_exit "$program_pid" 15
}

# Every case but wayland needs the X server; the wayland case has it for its
# runtime folder only and never shows it to the program.
start_xvfb || fail "Xvfb did not start"
case $case_name in
tray) case_tray ;;
quit) case_quit ;;
menu) case_menu ;;
session) case_session ;;
instance) case_instance ;;
squatted) case_squatted ;;
no-display) case_no_display ;;
launcher) case_launcher ;;
wayland) case_wayland ;;
notify) case_notify ;;
*) fail "unknown case $case_name" ;;
esac
echo "PASS"
