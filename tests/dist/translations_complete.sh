#!/usr/bin/env bash
# A translation is complete and current: lupdate, reading the sources as the
# build's update_translations does, finds no text left untranslated
# (unfinished) and no translation whose text is gone from the sources
# (vanished or obsolete). The .ts file itself is not touched.
#
# Usage: translations_complete.sh LUPDATE SOURCES_LIST INCLUDE_DIR TS_FILE [LUPDATE_OPTION...]
set -euo pipefail

lupdate=$1
sources=$2
include=$3
ts=$4
shift 4

fail() { echo "FAIL: $*"; exit 1; }
[ -f "$ts" ] || fail "no translation file $ts"
command -v python3 >/dev/null 2>&1 || fail "python3 is missing (scripts/install-deps.sh test)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
copy="$work/$(basename "$ts")"
cp "$ts" "$copy"
"$lupdate" "$@" -I "$include" "@$sources" -ts "$copy" >"$work/lupdate.log" 2>&1 ||
  fail "lupdate failed: $(cat "$work/lupdate.log")"

python3 - "$copy" "$(basename "$ts")" <<'PY'
import sys
import xml.etree.ElementTree as ET

path, name = sys.argv[1], sys.argv[2]
problems = []
for context in ET.parse(path).getroot().iter("context"):
    context_name = context.findtext("name")
    for message in context.iter("message"):
        translation = message.find("translation")
        state = translation.get("type") if translation is not None else "unfinished"
        forms = [form.text for form in translation.iter("numerusform")] if translation is not None else []
        if state in ("unfinished", "vanished", "obsolete"):
            problems.append(f"{state}: {context_name}: {message.findtext('source')!r}")
        elif message.get("numerus") == "yes" and (not forms or not all(forms)):
            problems.append(f"plural form missing: {context_name}: {message.findtext('source')!r}")
for problem in problems:
    print(f"{name}: {problem}")
if problems:
    print(f"FAIL: {len(problems)} entries of {name} need work "
          "(cmake --build BUILD_DIR --target update_translations, then translate or remove them)")
    sys.exit(1)
print(f"PASS: {name} is complete")
PY
