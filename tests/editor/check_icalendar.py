"""Parses iCalendar files strictly with the icalendar package and checks what
the editor's export promises: CRLF lines of at most 75 bytes, every event with
UID, DTSTAMP, DTSTART, DTEND and SUMMARY, and the expected number of events.

Usage: check_icalendar.py FILE.ics EVENTS [FILE.ics EVENTS]..."""
import sys

import icalendar

arguments = sys.argv[1:]
for path, expected in zip(arguments[0::2], arguments[1::2]):
    raw = open(path, "rb").read()
    lines = raw.split(b"\r\n")
    if lines[-1] != b"":
        sys.exit("%s does not end in CRLF" % path)
    for line in lines:
        if b"\n" in line or b"\r" in line:
            sys.exit("%s: a line break that is not CRLF" % path)
        if len(line) > 75:
            sys.exit("%s: a line of %d bytes: %r" % (path, len(line), line))
    calendar = icalendar.Calendar.from_ical(raw.decode("utf-8"))
    if calendar.get("VERSION") != "2.0" or not calendar.get("PRODID"):
        sys.exit("%s: no VERSION 2.0 or no PRODID" % path)
    # The parser notes what it could not read instead of failing: none may be noted.
    for component in calendar.walk():
        if component.errors:
            sys.exit("%s: %s: %s" % (path, component.name, component.errors))
    events = list(calendar.walk("VEVENT"))
    for event in events:
        for name in ("UID", "DTSTAMP", "DTSTART", "DTEND", "SUMMARY"):
            if event.get(name) is None:
                sys.exit("%s: an event without %s" % (path, name))
        start, end = event.decoded("DTSTART"), event.decoded("DTEND")
        if end < start:
            sys.exit("%s: an event ends before it starts" % path)
    uids = [str(event["UID"]) for event in events]
    if len(set(uids)) != len(uids):
        sys.exit("%s: UIDs repeat" % path)
    if len(events) != int(expected):
        sys.exit("%s: %d events, expected %s" % (path, len(events), expected))
    print("%s: %d events, strict parse passed" % (path, len(events)))
