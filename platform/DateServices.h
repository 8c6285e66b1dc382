#pragma once

// Local date functions the calendar's month view needs: today's date, month
// names in the system's language, week numbers by the system's rules and two
// system colours. The calendar arithmetic itself (day offsets, weekdays) is the
// same everywhere and lives here as free functions.

#include "platform/DrawingSurface.h"

#include <cstdint>
#include <string>

namespace velmar {

// A date of the proleptic Gregorian calendar.
struct CivilDate {
    std::int64_t Year = 2000;
    int Month = 1; // 1..12
    int Day = 1;   // 1..31

    bool operator==(const CivilDate&) const = default;
};

// Day offset of a date: days after 1 January 2000 (negative before it). Month
// and day outside their usual ranges roll over as in ordinary date arithmetic:
// month 13 of 2000 is January 2001, month 0 is December of the year before,
// day 0 is the last day of the month before.
std::int64_t DayOffsetOf(std::int64_t Year, std::int64_t Month, std::int64_t Day);
std::int64_t DayOffsetOf(const CivilDate& date);
// The date of a day offset.
CivilDate DateOfDayOffset(std::int64_t DayOffset);
// Weekday of a day offset, 0 = Monday .. 6 = Sunday.
int WeekdayMondayFirst(std::int64_t DayOffset);

// Which week of a year is its week 1.
enum class FirstWeekRule {
    Jan1,          // the week that holds 1 January
    FirstFourDays, // the first week with at least four days in the year (ISO 8601 with Monday)
    FirstFullWeek, // the first week that lies entirely in the year
};

// Week number (1..53) of a day offset when weeks begin on `FirstDayOfWeek`
// (0 = Monday .. 6 = Sunday). A week is numbered as a whole: the days of a
// year's last week that belong to the next year's week 1 get 1, and the first
// days of January that lie before week 1 get the last week number of the year
// before (so 1 January 2010, a Friday, is ISO week 53).
int WeekNumberOf(std::int64_t DayOffset, int FirstDayOfWeek, FirstWeekRule Rule);

// The system's date functions and colours.
class IDateServices {
public:
    virtual ~IDateServices() = default;

    // Today's local date.
    virtual CivilDate Today() const = 0;
    // Full name of month 1..12 in the system's language, as used in the month
    // caption "mmmm yyyy" (no day beside it).
    virtual std::string MonthName(int Month) const = 0;
    // Week number of a day offset under the system's first day of the week and
    // its rule for the first week of the year.
    virtual int WeekNumber(std::int64_t DayOffset) const = 0;
    // System colour of grey (disabled) text.
    virtual Colour GrayTextColour() const = 0;
    // System colour of button text.
    virtual Colour ButtonTextColour() const = 0;
};

} // namespace velmar
