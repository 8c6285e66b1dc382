#pragma once

// The shared display-name and holiday tables belong to the host: the editor
// components only read them. A host fills them for as long as it shows an
// editor and leaves them as it found them.

#include "common/FixedTable.h"
#include "common/SharedTables.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// The weekdays, Monday first, as the tools name them.
inline constexpr std::array<std::string_view, 7> kWeekdayShortNames = {"Mon", "Tue", "Wed", "Thu",
                                                                       "Fri", "Sat", "Sun"};
inline constexpr std::array<std::string_view, 7> kWeekdayLongNames = {
    "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

// Keeps DayTypeNames, DayTypeLongNames, HolidayFlags and HolidayLabels as they
// were when it was made, and puts them back when it goes; in between the host
// fills them as it likes.
class SharedTablesScope {
public:
    SharedTablesScope();
    ~SharedTablesScope();
    SharedTablesScope(const SharedTablesScope&) = delete;
    SharedTablesScope& operator=(const SharedTablesScope&) = delete;

    // Names day types 0 to 6 by the weekdays; `further` and `furtherLong`
    // followed by the number 1 to 16 name day types 7 to 22 (empty: no name).
    static void NameDayTypes(std::string_view further = {}, std::string_view furtherLong = {});
    // Marks a date as a holiday with one label, shown in calendars or not.
    static void AddHoliday(std::int32_t dayOffset, std::string label, bool shownInCalendars);

private:
    FixedTable<std::string, kDayTypeCount> m_Names;
    FixedTable<std::string, kDayTypeCount> m_LongNames;
    std::unique_ptr<FixedTable<std::int16_t, kCalendarDays>> m_HolidayFlags;
    std::vector<std::shared_ptr<cHolidayLabel>> m_HolidayLabels;
};

} // namespace velmar
