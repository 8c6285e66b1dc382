#include "platform/StdDateServices.h"

#include "common/Errors.h"
#include "platform/LocalTime.h"

#include <ctime>

namespace velmar {

StdDateSettings StdDateSettings::English() {
    return StdDateSettings{};
}

StdDateSettings StdDateSettings::Swedish() {
    StdDateSettings settings;
    settings.MonthNames = {"januari", "februari", "mars",      "april",   "maj",      "juni",
                           "juli",    "augusti",  "september", "oktober", "november", "december"};
    return settings;
}

StdDateSettings StdDateSettings::UnitedStates() {
    StdDateSettings settings;
    settings.FirstDayOfWeek = 6;
    settings.WeekRule = FirstWeekRule::Jan1;
    return settings;
}

StdDateServices::StdDateServices(StdDateSettings settings) : m_Settings(std::move(settings)) {
    if (m_Settings.FirstDayOfWeek < 0 || m_Settings.FirstDayOfWeek > 6) {
        throw InvalidArgumentError("first day of the week outside 0..6");
    }
}

CivilDate StdDateServices::Today() const {
    if (m_Settings.Today) {
        return *m_Settings.Today;
    }
    const std::tm local = LocalNow();
    return CivilDate{local.tm_year + 1900LL, local.tm_mon + 1, local.tm_mday};
}

std::string StdDateServices::MonthName(int Month) const {
    if (Month < 1 || Month > 12) {
        throw InvalidArgumentError("month " + std::to_string(Month) + " outside 1..12");
    }
    return m_Settings.MonthNames[static_cast<std::size_t>(Month - 1)];
}

int StdDateServices::WeekNumber(std::int64_t DayOffset) const {
    return WeekNumberOf(DayOffset, m_Settings.FirstDayOfWeek, m_Settings.WeekRule);
}

} // namespace velmar
