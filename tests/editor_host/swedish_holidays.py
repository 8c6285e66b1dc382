"""Writes Sweden's public holidays of 2000 to 2039, taken from the holidays
package, as an iCalendar file made by the icalendar package, to standard
output.

Usage: swedish_holidays.py dates|rules|labels
  dates   one all-day event per date (DTSTART and DTEND)
  rules   one event per holiday: a yearly RRULE where the holiday keeps its
          date (COUNT, or UNTIL with an EXDATE for each year it is missing),
          a yearly RRULE with BYMONTH, BYMONTHDAY and BYDAY where it keeps a
          weekday in a week of a month (midsummer, All Saints' Day), RDATEs
          for the rest (Easter and what follows it); DURATION instead of
          DTEND, and an alarm whose texts are not the holiday's. A date where
          two holidays meet gets an event of its own first, with both names,
          as the dates file has it.
  labels  the expected result: "YYYYMMDD label" a line, by date"""
import datetime
import sys

import holidays
import icalendar

STAMP = datetime.datetime(2026, 1, 1, tzinfo=datetime.timezone.utc)
WEEKDAYS = ["MO", "TU", "WE", "TH", "FR", "SA", "SU"]


def swedish():
    return dict(holidays.Sweden(years=range(2000, 2040), include_sundays=False))


def event(uid, summary, start):
    e = icalendar.Event()
    e.add("uid", uid)
    e.add("dtstamp", STAMP)
    e.add("summary", summary)
    e.add("dtstart", start)
    return e


def calendar(events):
    c = icalendar.Calendar()
    c.add("prodid", "-//Velmar tests//Swedish holidays//SV")
    c.add("version", "2.0")
    for e in events:
        c.add_component(e)
    return c


def dated(days):
    events = []
    for day, label in sorted(days.items()):
        e = event("%s@tests" % day.isoformat(), label, day)
        e.add("dtend", day + datetime.timedelta(days=1))
        events.append(e)
    return events


def ruled(days):
    events = []
    by_name = {}
    shared = []
    for day, label in sorted(days.items()):
        if ", " in label:
            shared.append((day, label))
        for name in label.split(", "):
            by_name.setdefault(name, []).append(day)
    # The dates two holidays share come first, so that their names win.
    for day, label in shared:
        e = event("shared-%s@tests" % day.isoformat(), label, day)
        e.add("duration", datetime.timedelta(days=1))
        events.append(e)
    shared_days = {day for day, _ in shared}
    for number, (name, dates) in enumerate(sorted(by_name.items())):
        e = event("holiday-%d@tests" % number, name, dates[0])
        e.add("duration", datetime.timedelta(days=1))
        years = [d.year for d in dates]
        contiguous = years == list(range(years[0], years[0] + len(years)))
        if len({(d.month, d.day) for d in dates}) == 1:
            if contiguous and not shared_days.intersection(dates):
                e.add("rrule", {"freq": "yearly", "count": len(dates)})
            else:
                e.add("rrule", {"freq": "yearly", "until": dates[-1]})
                present = set(years)
                missing = [d for d in (dates[0].replace(year=y) for y in range(years[0], years[-1] + 1))
                           if d.year not in present or d in shared_days]
                if missing:
                    e.add("exdate", missing)
        elif (contiguous and len({(d.month, d.weekday()) for d in dates}) == 1
              and max(d.day for d in dates) - min(d.day for d in dates) == 6):
            first = min(d.day for d in dates)
            e.add("rrule", {"freq": "yearly", "count": len(dates), "bymonth": dates[0].month,
                            "bymonthday": list(range(first, first + 7)),
                            "byday": WEEKDAYS[dates[0].weekday()]})
        else:
            e.add("rdate", dates[1:])
        if name == "Julafton":
            alarm = icalendar.Alarm()
            alarm.add("action", "DISPLAY")
            alarm.add("summary", "Köp julklappar")
            alarm.add("description", "Köp julklappar")
            alarm.add("trigger", datetime.timedelta(days=-7))
            e.add_component(alarm)
        events.append(e)
    return events


def main():
    mode = sys.argv[1] if len(sys.argv) == 2 else ""
    days = swedish()
    if mode == "labels":
        for day, label in sorted(days.items()):
            sys.stdout.buffer.write(("%s %s\n" % (day.strftime("%Y%m%d"), label)).encode("utf-8"))
    elif mode in ("dates", "rules"):
        events = dated(days) if mode == "dates" else ruled(days)
        sys.stdout.buffer.write(calendar(events).to_ical())
    else:
        sys.exit(__doc__)


main()
