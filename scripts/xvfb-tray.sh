# Sourced by the scripts that drive the tray program on a virtual X display
# (scripts/screenshot.sh, tests/app/desktop_e2e.sh). Gives them a work folder
# cleaned up on exit, Xvfb, trayer as the system tray, and ways to find the
# program's icon and window. The caller sets `caption` before using window_shown.

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Polls a command for up to $1 seconds; status 1 when it never succeeded.
wait_for() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# Starts Xvfb on a free display and points DISPLAY at it, with nothing that
# would send Qt elsewhere. -noreset keeps the server as it is when its last
# client goes (a program that ends must not take the display with it). Extra
# arguments go to Xvfb.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset "$@" 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  wait_for 10 test -s "$work/display" || return 1
  export DISPLAY=":$(head -n1 "$work/display")"
  rm -f "$work/display"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM SESSION_MANAGER
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
}

# Starts openbox as the window manager, outside any session manager.
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
start_wm() {
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  pids+=($!)
  wait_for 10 wm_running
}

# A display number nobody serves: no socket, no lock file.
unused_display_number() {
  local n
  for n in 99 $(seq 100 199); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ] &&
      ! grep -q "/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

tray_panel_shown() { xwininfo -root -tree | grep -q '"panel": ("panel" "trayer")'; }

# Starts trayer, ${tray_height:-24} pixels high, and waits for its panel; sets
# trayer_pid. A loaded machine can keep GTK's start-up waiting for many seconds,
# and now and then a trayer never shows its panel at all (seen once in many
# CI runs, with nothing in its log): such a trayer is ended and another one
# started, three times at most. GTK's accessibility bridge stays off, since
# there is no session bus to find it on.
start_trayer() {
  local attempt
  for attempt in 1 2 3; do
    NO_AT_BRIDGE=1 trayer --edge top --align right --widthtype request --height "${tray_height:-24}" \
      --transparent false >>"$work/trayer.log" 2>&1 &
    trayer_pid=$!
    pids+=("$trayer_pid")
    wait_for 20 tray_panel_shown && return 0
    echo "trayer $trayer_pid showed no panel in 20 s (attempt $attempt)" >>"$work/trayer.log"
    kill "$trayer_pid" 2>/dev/null || true
    wait "$trayer_pid" 2>/dev/null || true
  done
  return 1
}

# Absolute "x y" of the program's icon embedded in the tray, when there is one
# (found by its window's instance name, the program's).
icon_position() { tray_icons | head -n1; }
icon_shown() { [ -n "$(icon_position)" ]; }
icon_count() { tray_icons | wc -l; }
# One line "x y" per icon of the program in trayer's panel: the windows below
# the panel (indented deeper than it) whose instance name is the program's.
tray_icons() {
  xwininfo -root -tree | awk '
    { indent = match($0, /[^ ]/) }
    /"panel": \("panel" "trayer"\)/ { panel = indent; next }
    panel && indent <= panel { panel = 0 }
    panel && /\("velmar-active-profiles" / { split($NF, a, "+"); print a[2], a[3] }'
}
window_shown() { xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1; }

# Clicks the icon and waits two seconds for the window. A freshly embedded icon
# may miss the very first click, so callers retry with wait_for.
click_icon() {
  local x y
  read -r x y < <(icon_position)
  xdotool mousemove $((x + 11)) $((y + 11)) click 1
  for _ in $(seq 20); do window_shown && return 0; sleep 0.1; done
  return 1
}
