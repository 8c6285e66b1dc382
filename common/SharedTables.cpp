#include "common/SharedTables.h"

namespace velmar {

FixedTable<std::string, kDayTypeCount> DayTypeNames;
FixedTable<std::string, kDayTypeCount> DayTypeLongNames;
FixedTable<std::int16_t, kCalendarDays> HolidayFlags;
cCollection<cHolidayLabel> HolidayLabels;

} // namespace velmar
