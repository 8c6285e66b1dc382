#include "editor_host/SharedTablesScope.h"

namespace velmar {

namespace {

constexpr int kWeekDayTypes = 7;

} // namespace

SharedTablesScope::SharedTablesScope()
    : m_Names(DayTypeNames), m_LongNames(DayTypeLongNames),
      m_HolidayFlags(std::make_unique<FixedTable<std::int16_t, kCalendarDays>>(HolidayFlags)),
      m_HolidayLabels(HolidayLabels.begin(), HolidayLabels.end()) {}

SharedTablesScope::~SharedTablesScope() {
    DayTypeNames = m_Names;
    DayTypeLongNames = m_LongNames;
    HolidayFlags = *m_HolidayFlags;
    HolidayLabels.Clear();
    for (const auto& label : m_HolidayLabels) {
        HolidayLabels.Add(label);
    }
}

void SharedTablesScope::NameDayTypes(std::string_view further, std::string_view furtherLong) {
    for (int d = 0; d < kDayTypeCount; ++d) {
        const bool weekday = d < kWeekDayTypes;
        const std::string number = std::to_string(d - kWeekDayTypes + 1);
        DayTypeNames[d] = weekday ? std::string(kWeekdayShortNames[static_cast<std::size_t>(d)])
                                  : (further.empty() ? std::string() : std::string(further) + number);
        DayTypeLongNames[d] = weekday
                                  ? std::string(kWeekdayLongNames[static_cast<std::size_t>(d)])
                                  : (furtherLong.empty() ? std::string() : std::string(furtherLong) + number);
    }
}

void SharedTablesScope::AddHoliday(std::int32_t dayOffset, std::string label, bool shownInCalendars) {
    HolidayFlags[dayOffset] = -1; // any non-zero flag marks a holiday
    auto holiday = std::make_shared<cHolidayLabel>();
    holiday->m_Day = static_cast<std::int16_t>(dayOffset);
    holiday->m_ViewInCalendar = shownInCalendars ? -1 : 0;
    holiday->m_Label = std::move(label);
    HolidayLabels.Add(std::move(holiday));
}

} // namespace velmar
