#!/usr/bin/env bash
# The systemd unit: systemd-analyze verify accepts it (with ExecStart= on the
# build tree's program), it asks for what the service promises (Type=notify
# with a watchdog, a dynamic user, the sandboxing options, the metrics on the
# loopback address), and systemd-analyze security rates its exposure at 2.0
# or below ("OK").
#
# Usage: service_unit.sh UNIT_TEMPLATE PROGRAM_FOLDER PORT
set -euo pipefail

template=$1
program_folder=$2
port=$3

fail() { echo "FAIL: $*"; exit 1; }
command -v systemd-analyze >/dev/null 2>&1 || fail "systemd-analyze is missing (Debian: systemd)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unit="$work/velmar-active-profiles.service"
sed "s|@VELMAR_SERVICE_BINDIR@|$program_folder|" "$template" >"$unit"
! grep -q '@[A-Z_]*@' "$unit" || fail "a placeholder was left: $(grep -o '@[A-Z_]*@' "$unit" | head -n1)"

report=$(systemd-analyze verify --man=no "$unit" 2>&1) || fail "systemd-analyze verify: $report"
[ -z "$report" ] || fail "systemd-analyze verify warns: $report"
echo "systemd-analyze verify: accepted"

for line in Type=notify NotifyAccess=main WatchdogSec=30 DynamicUser=yes ProtectSystem=strict ProtectHome=yes \
  NoNewPrivileges=yes PrivateTmp=yes "WantedBy=multi-user.target"; do
  grep -qx "$line" "$unit" || fail "the unit lacks $line"
done
grep -q "^ExecStart=$program_folder/velmar-active-profiles /PATH:[^ ]* --metrics-listen 127.0.0.1:$port\$" "$unit" ||
  fail "ExecStart: $(grep '^ExecStart=' "$unit")"

security=$(systemd-analyze security --offline=yes --threshold=20 "$unit" 2>&1) ||
  fail "systemd-analyze security: $(tail -n1 <<<"$security")"
tail -n1 <<<"$security"
