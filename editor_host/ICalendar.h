#pragma once

// iCalendar (RFC 5545) files through libical: a calendar's coded dates and a
// profile's weekly schedule written as events for the calendar programs people
// already use, and holiday labels read from the all-day events of such a file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

class cCalendar;
class cTimeSchedule;

// What an export needs besides the document.
struct ICalendarExport {
    // The time of the export, seconds since 1970-01-01 UTC: every event's DTSTAMP.
    std::int64_t Stamp = 0;
    // Makes the events' UIDs unique beyond the document (NewExportId gives one).
    std::string ExportId;
    // The IANA name of the time zone a schedule's times are in ("Europe/Stockholm"):
    // its VTIMEZONE goes into the file. UTC gives times in UTC; an empty or
    // unknown name gives floating local times.
    std::string TimeZone;
};

// 32 random hexadecimal digits, different for every export.
std::string NewExportId();

// Every date with a non-zero code as an all-day event named by its day type
// (`dayTypeNames`, 23 names by day type; a code outside 1..23 is named by its
// number). Texts lose their control characters but line breaks, and invalid
// UTF-8 becomes U+FFFD; libical escapes them, folds lines at 75 bytes between
// characters and ends them in CRLF.
std::string CalendarToICalendar(const cCalendar& calendar, const std::vector<std::string>& dayTypeNames,
                                const ICalendarExport& options);

// Each period of the weekdays in use (day types 0 to 6) as an event that
// recurs weekly from the week of Monday 1 January 2024, in the time zone of
// `options`, named `summary`. A period that ends at 24:00 ends at midnight of
// the next day. Periods whose times are not a time of day in order (a file may
// hold any values) are left out.
std::string ScheduleToICalendar(const cTimeSchedule& schedule, std::string_view summary,
                                const ICalendarExport& options);

// The holiday labels of an iCalendar file, held by date: whatever the file
// holds, the result keeps one label per date of 2000 to 2039 and each event's
// label once.
struct HolidayImport {
    // The labels (SUMMARY, at most kMaxHolidayLabelBytes), one for each event
    // that labels a date, in the file's order.
    std::vector<std::string> Labels;
    // For each day offset 0 to 14609, its label's index in Labels; -1 for none.
    std::vector<std::int32_t> LabelOfDay;

    std::int32_t Dates = 0;           // days with a label
    std::int32_t Events = 0;          // all-day events that are not cancelled
    std::int32_t LaterEvents = 0;     // of those, events with dates an earlier event had labelled
    std::int64_t TakenDates = 0;      // those dates, counted once for each later event
    std::int32_t TimedEvents = 0;     // events with a time of day: skipped
    std::int32_t CancelledEvents = 0; // STATUS:CANCELLED: skipped
    std::int32_t UndatedEvents = 0;   // events without DTSTART: skipped

    // The label of a day offset, or nullptr.
    const std::string* LabelOn(std::int32_t dayOffset) const;
};

// A label longer than this is cut at the last whole character before it.
inline constexpr std::size_t kMaxHolidayLabelBytes = 255;

// The dates of the all-day events (DTSTART;VALUE=DATE or a plain date) of an
// iCalendar text, each occurrence from its start up to, not including, its
// end (DTEND or DURATION; one day without them). The occurrences are DTSTART
// and those of its RRULEs and RDATEs, less its EXDATEs, over 2000 to 2039.
// The first event in the file's order that has a date labels it. Cancelled
// events, events with a time of day and the texts of components inside an
// event (VALARM) are left out. InvalidArgumentError, naming the physical line,
// for a text that is not an iCalendar object, an invalid date, duration or
// recurrence rule, components that do not end, and rules that repeat more
// often than the import expands (more than kMaxRecurrenceSteps steps).
HolidayImport ReadHolidays(std::string_view text);

// The most steps of recurrence rules one import takes: a little more than
// twenty daily rules over the forty years take.
inline constexpr std::int64_t kMaxRecurrenceSteps = 300000;

// Replaces the shared holiday tables by the imported labels, shown in calendars.
void ShowHolidays(const HolidayImport& holidays);

} // namespace velmar
