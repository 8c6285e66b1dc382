#pragma once

// The shared display-name and holiday tables. The views only read them and
// nothing in the system fills them: a host that wants names or holidays shown
// fills them before painting.

#include "common/Collection.h"
#include "common/FixedTable.h"

#include <cstdint>
#include <string>

namespace velmar {

constexpr int kDayTypeCount = 23;    // day types 0..22
constexpr int kCalendarDays = 14610; // day offsets 0..14609 (2000-01-01 .. 2039-12-31)

// A labelled holiday.
class cHolidayLabel {
public:
    std::int16_t m_Day = 0;            // day offset of the holiday
    std::int16_t m_DayType = 0;        // day type of the holiday; nothing reads it
    std::int16_t m_ViewInCalendar = 0; // 16-bit boolean: shown in calendars
    std::string m_Label;               // the holiday's name
};

extern FixedTable<std::string, kDayTypeCount> DayTypeNames;
extern FixedTable<std::string, kDayTypeCount> DayTypeLongNames;
extern FixedTable<std::int16_t, kCalendarDays> HolidayFlags;
extern cCollection<cHolidayLabel> HolidayLabels;

} // namespace velmar
