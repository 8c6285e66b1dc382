#pragma once

// iCalendar (RFC 5545) files: a calendar's coded dates and a profile's weekly
// schedule written as events for the calendar programs people already use,
// and holiday labels read from the all-day events of such a file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

class cCalendar;
class cTimeSchedule;

// What an export needs besides the document. `Stamp` is the time of the
// export in UTC as "YYYYMMDDTHHMMSSZ"; `UidPrefix` makes the events' UIDs
// unique to the document (for example the file's name).
struct ICalendarExport {
    std::string Stamp;
    std::string UidPrefix;
};

// Every date with a non-zero code as an all-day event named by its day type
// (`dayTypeNames`, 23 names by day type; a code outside 1..23 is named by its
// number). Lines end in CRLF and are folded at 75 bytes.
std::string CalendarToICalendar(const cCalendar& calendar, const std::vector<std::string>& dayTypeNames,
                                const ICalendarExport& options);

// Each period of the weekdays in use (day types 0 to 6) as an event that
// recurs weekly from the week of Monday 1 January 2024, in floating local
// time, named `summary`. A period that ends at 24:00 ends at midnight of the
// next day. Periods whose times are not a time of day in order (a file may
// hold any values) are left out.
std::string ScheduleToICalendar(const cTimeSchedule& schedule, std::string_view summary,
                                const ICalendarExport& options);

// One date of an all-day event.
struct HolidayDate {
    std::int32_t DayOffset = 0; // days after 1 January 2000
    std::string Label;          // the event's SUMMARY, unescaped
};

// The dates of the all-day events (DTSTART;VALUE=DATE or a plain date) of an
// iCalendar text, each date from DTSTART up to, not including, DTEND (one
// date without DTEND), within 2000 to 2039. Events with a time of day are left
// out. InvalidArgumentError, naming the line, for a text that is not an
// iCalendar object or a date that cannot be read.
std::vector<HolidayDate> ReadHolidayDates(std::string_view text);

// Replaces the shared holiday tables by labels shown in calendars, one per date.
void ShowHolidays(const std::vector<HolidayDate>& holidays);

} // namespace velmar
