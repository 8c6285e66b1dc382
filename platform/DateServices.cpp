#include "platform/DateServices.h"

#include "common/Errors.h"

namespace velmar {

namespace {

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

constexpr std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
    return a - FloorDiv(a, b) * b;
}

// Days after 1 January 1970 of a valid date (month 1..12), for any year.
constexpr std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr std::int64_t kDaysFrom1970To2000 = DaysFromCivil(2000, 1, 1);
static_assert(kDaysFrom1970To2000 == 10957);

// Years so far from the epoch that their day counts would overflow are refused
// rather than wrapped.
constexpr std::int64_t kYearLimit = 1'000'000'000;

} // namespace

std::int64_t DayOffsetOf(std::int64_t Year, std::int64_t Month, std::int64_t Day) {
    const std::int64_t year = Year + FloorDiv(Month - 1, 12);
    const std::int64_t month = FloorMod(Month - 1, 12) + 1;
    if (year > kYearLimit || year < -kYearLimit || Day > kYearLimit * 365 || Day < -kYearLimit * 365) {
        throw OverflowError("date outside the calendar arithmetic");
    }
    return DaysFromCivil(year, month, 1) + (Day - 1) - kDaysFrom1970To2000;
}

std::int64_t DayOffsetOf(const CivilDate& date) {
    return DayOffsetOf(date.Year, date.Month, date.Day);
}

CivilDate DateOfDayOffset(std::int64_t DayOffset) {
    const std::int64_t z = DayOffset + kDaysFrom1970To2000 + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return CivilDate{year, static_cast<int>(month), static_cast<int>(day)};
}

int WeekdayMondayFirst(std::int64_t DayOffset) {
    // 1 January 2000 was a Saturday (5).
    return static_cast<int>(FloorMod(DayOffset + 5, 7));
}

namespace {

std::int64_t WeekStartOf(std::int64_t dayOffset, int firstDayOfWeek) {
    return dayOffset - FloorMod(WeekdayMondayFirst(dayOffset) - firstDayOfWeek, 7);
}

// Day offset of the first day of week 1 of a year.
std::int64_t FirstWeekStart(std::int64_t year, int firstDayOfWeek, FirstWeekRule rule) {
    const std::int64_t january1 = DayOffsetOf(year, 1, 1);
    const std::int64_t start = WeekStartOf(january1, firstDayOfWeek);
    const std::int64_t daysInYear = 7 - (january1 - start);
    switch (rule) {
    case FirstWeekRule::Jan1:
        return start;
    case FirstWeekRule::FirstFourDays:
        return daysInYear >= 4 ? start : start + 7;
    case FirstWeekRule::FirstFullWeek:
        return daysInYear == 7 ? start : start + 7;
    }
    return start;
}

} // namespace

int WeekNumberOf(std::int64_t DayOffset, int FirstDayOfWeek, FirstWeekRule Rule) {
    if (FirstDayOfWeek < 0 || FirstDayOfWeek > 6) {
        throw InvalidArgumentError("first day of the week " + std::to_string(FirstDayOfWeek) +
                                   " outside 0..6");
    }
    const std::int64_t weekStart = WeekStartOf(DayOffset, FirstDayOfWeek);
    const std::int64_t year = DateOfDayOffset(DayOffset).Year;
    if (weekStart >= FirstWeekStart(year + 1, FirstDayOfWeek, Rule)) {
        return 1;
    }
    std::int64_t first = FirstWeekStart(year, FirstDayOfWeek, Rule);
    if (weekStart < first) {
        first = FirstWeekStart(year - 1, FirstDayOfWeek, Rule);
    }
    return static_cast<int>((weekStart - first) / 7 + 1);
}

} // namespace velmar
