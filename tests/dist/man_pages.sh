#!/usr/bin/env bash
# Every manual page formats without a single warning (groff -ww -z) and
# renders with man, carrying the project's version.
#
# Usage: man_pages.sh VERSION PAGE...
set -euo pipefail

version=$1
shift

fail() { echo "FAIL: $*"; exit 1; }
for tool in groff man; do
  command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (scripts/install-deps.sh test)"
done

for page in "$@"; do
  echo "== $page"
  report=$(groff -ww -z -man "$page" 2>&1) || fail "groff failed: $report"
  [ -z "$report" ] || fail "groff warns: $report"
  text=$(MANWIDTH=80 man --warnings -l "$page" 2>"${TMPDIR:-/tmp}/man-warnings.$$") ||
    fail "man -l failed: $(cat "${TMPDIR:-/tmp}/man-warnings.$$")"
  warnings=$(cat "${TMPDIR:-/tmp}/man-warnings.$$")
  rm -f "${TMPDIR:-/tmp}/man-warnings.$$"
  [ -z "$warnings" ] || fail "man warns: $warnings"
  for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS" "SEE ALSO"; do
    grep -q "^$section" <<<"$text" || fail "no section $section"
  done
  grep -qF "velmar-active-profiles $version" <<<"$text" || fail "the version $version is not in the page"
  grep -q '@[A-Z_]*@' <<<"$text" && fail "a placeholder was left: $(grep -o '@[A-Z_]*@' <<<"$text" | head -n1)"
done
echo "PASS"
