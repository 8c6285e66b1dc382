#!/usr/bin/env bash
# The monitor's window as a screen reader meets it: the real program on the
# example data folder under Xvfb (no tray, so the window shows at start), on a
# private session bus with its own accessibility bus (at-spi2-core), read
# through pyatspi. Every row of the list must say its profile's name and
# "active" or "inactive" as `velmar-profiles list` gives the profile, in
# English and, with LANG=sv_SE.UTF-8, "aktiv" or "inaktiv".
# Exit status 77 when the tools are missing.
#
# Usage: monitor_accessibility_e2e.sh PROGRAM VELMAR_PROFILES DATA_FOLDER
set -euo pipefail

program=$1
profiles=$2
data=$3
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher

for tool in Xvfb dbus-run-session "$launcher"; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is missing (scripts/install-deps.sh test)"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: no python3-pyatspi"; exit 77; }

# A session bus of its own, so that no other session's readers or
# applications are seen or disturbed.
if [ -z "${VELMAR_PRIVATE_BUS:-}" ]; then
  exec env VELMAR_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
fi

fail() {
  echo "FAIL: $*"
  tail -n 20 "${work:-/nonexistent}"/*.log 2>/dev/null || true
  exit 1
}

source "$here/../../scripts/xvfb-tray.sh"
start_xvfb || fail "Xvfb did not start"
"$launcher" --launch-immediately >"$work/bus.log" 2>&1 &
pids+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0

# The rows as the console lists them: "+ name" active, "- name" inactive.
"$profiles" list "/PATH:$data" | grep -E '^[-+] ' >"$work/expected" || fail "velmar-profiles list failed"

for lang in C.UTF-8 sv_SE.UTF-8; do
  echo "== LANG=$lang"
  LANG=$lang LC_ALL=$lang "$program" "/PATH:$data" >"$work/monitor-$lang.log" 2>&1 &
  pids+=($!)
  words="active inactive"
  [ "$lang" = sv_SE.UTF-8 ] && words="aktiv inaktiv"
  # shellcheck disable=SC2086
  /usr/bin/python3 "$here/monitor_accessibility_probe.py" "$work/expected" $words ||
    fail "the rows read through the accessibility bus are wrong at LANG=$lang"
  kill "${pids[-1]}" 2>/dev/null || true
  wait "${pids[-1]}" 2>/dev/null || true
done
echo "PASS"
