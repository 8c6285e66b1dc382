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
# would send Qt elsewhere.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  wait_for 10 test -s "$work/display" || return 1
  export DISPLAY=":$(head -n1 "$work/display")"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
}

tray_panel_shown() { xwininfo -root -tree | grep -q '"panel": ("panel" "trayer")'; }

# Starts trayer, ${tray_height:-24} pixels high, and waits for its panel; sets trayer_pid.
start_trayer() {
  trayer --edge top --align right --widthtype request --height "${tray_height:-24}" --transparent false \
    >"$work/trayer.log" 2>&1 &
  trayer_pid=$!
  pids+=("$trayer_pid")
  wait_for 10 tray_panel_shown
}

# Absolute "x y" of the program's icon embedded in the tray, when there is one.
icon_position() {
  xwininfo -root -tree | awk '
    /"panel": \("panel" "trayer"\)/ { inpanel = 1; next }
    inpanel && /"velmar-active-profiles": \("velmar-active-profiles"/ {
      n = split($NF, a, "+"); print a[2], a[3]; exit }'
}
icon_shown() { [ -n "$(icon_position)" ]; }
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
