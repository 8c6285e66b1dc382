#include "tools/velmar-profiles/ScheduleText.h"

#include "common/CommonProcedures.h"
#include "common/SharedTables.h"
#include "editor_host/SharedTablesScope.h"
#include "schedule/TimeSchedule.h"

#include <ostream>
#include <string>

namespace velmar::tool {
namespace {

std::string DayTypeName(int dayType) {
    if (dayType < 7) {
        return std::string(kWeekdayShortNames[static_cast<std::size_t>(dayType)]);
    }
    return "special " + std::to_string(dayType - 6);
}

// A file may hold any 16-bit value; only real times of day get the clock form.
std::string TimeText(std::int16_t minutes) {
    if (minutes >= 0 && minutes <= 1440) {
        return MinutesToTimeText(minutes);
    }
    return std::to_string(minutes);
}

} // namespace

void PrintSchedule(std::ostream& out, const cTimeSchedule& schedule) {
    out << "schedule:\n";
    out << "  use calendar: " << schedule.m_UseCalendar << '\n';
    for (std::int16_t dayType = 0; dayType < kDayTypeCount; ++dayType) {
        out << "  day type " << dayType << " (" << DayTypeName(dayType) << "): active "
            << schedule.GetActive(dayType) << ", grouped " << schedule.GetGrouped(dayType) << ", row "
            << schedule.GetAxisIndex(dayType) << ", periods:";
        const auto& periods = schedule.Periods(dayType);
        if (periods.Count() == 0) {
            out << " none";
        }
        for (const auto& period : periods) {
            out << ' ' << TimeText(period->m_StartMinute) << '-' << TimeText(period->m_StopMinute);
        }
        out << '\n';
    }
}

} // namespace velmar::tool
