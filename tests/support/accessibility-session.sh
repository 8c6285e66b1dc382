# Sourced by the tests that read a program through the accessibility bus, with
# the test's own arguments still its positional parameters. Ends the test with
# status 77 when a tool is missing, runs it again on a session bus of its own
# (so that no other session's readers or applications are seen or disturbed),
# then gives it what scripts/xvfb-tray.sh gives (a work folder, `pids`,
# wait_for), `fail`, Xvfb and an accessibility bus (at-spi2-core) that Qt
# programs started afterwards talk to.
# The caller may set `tools` (more programs it needs) and `xvfb_arguments`.

launcher=/usr/libexec/at-spi-bus-launcher
for tool in Xvfb dbus-run-session "$launcher" "${tools[@]}"; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is missing (scripts/install-deps.sh test)"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: no python3-pyatspi"; exit 77; }

if [ -z "${VELMAR_PRIVATE_BUS:-}" ]; then
  exec env VELMAR_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
fi

fail() {
  echo "FAIL: $*"
  tail -n 20 "${work:-/nonexistent}"/*.log 2>/dev/null || true
  exit 1
}

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb-tray.sh"
start_xvfb "${xvfb_arguments[@]}" || fail "Xvfb did not start"
"$launcher" --launch-immediately >"$work/bus.log" 2>&1 &
pids+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
