#!/usr/bin/env bash
# The menu entry passes desktop-file-validate, and so does the autostart entry
# that "--autostart on" writes for a folder full of characters the entry
# format reserves; a real launcher (gio) hands that folder back unchanged.
# "--autostart off" removes the entry; failures and misuse give 1 and 2.
#
# Usage: desktop_entries.sh PROGRAM MENU_ENTRY
set -euo pipefail

program=$1
menu_entry=$2

fail() { echo "FAIL: $*"; exit 1; }
for tool in desktop-file-validate gio; do
  command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (scripts/install-deps.sh test)"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
entry="$XDG_CONFIG_HOME/autostart/velmar-active-profiles.desktop"

# Quiet means valid: the validator prints errors, warnings and hints alike.
validate() {
  local report
  report=$(desktop-file-validate "$1" 2>&1) || fail "desktop-file-validate rejects $1: $report"
  [ -z "$report" ] || fail "desktop-file-validate on $1: $report"
}

echo "== menu entry"
validate "$menu_entry"

echo "== autostart on, a folder with reserved characters"
folder="$work/Larm data \$HOME \"q\" \`b\` 100% a\\b 'c' ~#;&|<>*?() tab	end"
mkdir -p "$folder"
"$program" --autostart on "/PATH:$folder" >"$work/out" 2>"$work/err" || fail "exit status $? ($(cat "$work/err"))"
[ -s "$work/err" ] && fail "unexpected error output: $(cat "$work/err")"
grep -qF "$entry" "$work/out" || fail "the output does not name the entry: $(cat "$work/out")"
[ -f "$entry" ] || fail "no entry at $entry"
validate "$entry"

# Launch the entry as a desktop would, with a stand-in that records its
# arguments in place of the program.
exec_line=$(grep '^Exec=' "$entry")
[[ $exec_line == "Exec=$program "* ]] || fail "the Exec line does not start with the program: $exec_line"
cat >"$work/record-arguments" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" >"$work/arguments"
SCRIPT
chmod +x "$work/record-arguments"
sed "s|^Exec=$program |Exec=$work/record-arguments |" "$entry" >"$work/launch.desktop"
gio launch "$work/launch.desktop"
for _ in $(seq 50); do [ -s "$work/arguments" ] && break; sleep 0.1; done
expected="/PATH:$folder/"
[ "$(cat "$work/arguments")" = "$expected" ] ||
  fail "the launcher passed $(cat "$work/arguments") instead of $expected"

echo "== autostart off"
"$program" --autostart off >"$work/out" || fail "exit status $?"
[ -e "$entry" ] && fail "the entry is still there"
"$program" --autostart off >"$work/out" || fail "removing a missing entry gave status $?"

echo "== failures"
status=0
XDG_CONFIG_HOME="$menu_entry" "$program" --autostart on /PATH:/srv >/dev/null 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "an unwritable folder gave status $status"
[ -s "$work/err" ] || fail "no reason given for the failure"
status=0
"$program" --autostart maybe >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "a wrong argument gave status $status"

echo "PASS"
