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
tools=()
xvfb_arguments=()
source "$here/../support/accessibility-session.sh"

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
