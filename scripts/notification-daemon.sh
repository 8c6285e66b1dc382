# Sourced after scripts/xvfb-tray.sh (which gives $work, $pids and wait_for)
# by the tests that read the tray program's desktop notifications: a D-Bus
# session bus of the test's own, never the user's, with a real notification
# daemon (dunst) on it, and a way to read back what it was sent.

# Starts a session bus that activates no services (so nothing answers on it
# that the test did not start, and a missing daemon stays missing) and points
# DBUS_SESSION_BUS_ADDRESS at it.
start_session_bus() {
  cat >"$work/session-bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$work/session-bus</listen>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
  dbus-daemon --config-file="$work/session-bus.conf" --nofork --nopidfile --print-address=4 \
    4>"$work/session-bus.address" 2>"$work/session-bus.log" &
  pids+=($!)
  wait_for 10 test -s "$work/session-bus.address" || return 1
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/session-bus.address")
  export DBUS_SESSION_BUS_ADDRESS
}

# Starts dunst on that bus and the display in DISPLAY, with a configuration of
# the test's own: nothing expires, every notification is kept.
start_notification_daemon() {
  cat >"$work/dunstrc" <<'CONF'
[global]
    history_length = 100
    sticky_history = yes
    show_indicators = no
[urgency_low]
    timeout = 0
[urgency_normal]
    timeout = 0
[urgency_critical]
    timeout = 0
CONF
  dunst -config "$work/dunstrc" >"$work/dunst.log" 2>&1 &
  pids+=($!)
  wait_for 10 notification_daemon_answers
}
notification_daemon_answers() { dunstctl is-paused >/dev/null 2>&1; }

# How many notifications the daemon has been sent so far.
notification_count() {
  local kind total=0 count
  for kind in displayed history waiting; do
    count=$(dunstctl count "$kind") || return 1
    total=$((total + count))
  done
  echo "$total"
}

# Every notification the daemon has been sent, oldest first, one line each:
# application name, summary and body separated by tabs, line feeds in the
# body written as "\n". Closes those still shown, so that all are in the
# daemon's history.
notification_lines() {
  dunstctl close-all
  dunstctl history | python3 -c '
import json, sys
entries = json.load(sys.stdin)["data"][0]
for entry in sorted(entries, key=lambda e: e["id"]["data"]):
    fields = [entry[name]["data"] for name in ("appname", "summary", "body")]
    print("\t".join(field.replace("\\", "\\\\").replace("\n", "\\n") for field in fields))
'
}
