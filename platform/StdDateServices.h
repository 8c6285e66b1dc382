#pragma once

// Date services from the standard library alone, for the core, the command-line
// tool and tests. Everything the system would decide (today, the language, the
// week rule, the colours) is a setting, so that a test can pin it.

#include "platform/DateServices.h"

#include <array>
#include <optional>
#include <string>

namespace velmar {

struct StdDateSettings {
    // A pinned "today"; none = the local date of the system clock at each call.
    std::optional<CivilDate> Today;
    int FirstDayOfWeek = 0; // 0 = Monday .. 6 = Sunday
    FirstWeekRule WeekRule = FirstWeekRule::FirstFourDays;
    std::array<std::string, 12> MonthNames{"January",   "February", "March",    "April",
                                           "May",       "June",     "July",     "August",
                                           "September", "October",  "November", "December"};
    Colour GrayText = Rgb(128, 128, 128); // the Windows default of grey text
    Colour ButtonText = Rgb(0, 0, 0);

    // English names, weeks from Monday, ISO 8601 week numbers (the defaults above).
    static StdDateSettings English();
    // Swedish names in lower case, weeks from Monday, ISO 8601 week numbers.
    static StdDateSettings Swedish();
    // English names, weeks from Sunday, week 1 holds 1 January.
    static StdDateSettings UnitedStates();
};

class StdDateServices : public IDateServices {
public:
    explicit StdDateServices(StdDateSettings settings = {});

    CivilDate Today() const override;
    // Names month 1..12; InvalidArgumentError for any other month.
    std::string MonthName(int Month) const override;
    int WeekNumber(std::int64_t DayOffset) const override;
    Colour GrayTextColour() const override { return m_Settings.GrayText; }
    Colour ButtonTextColour() const override { return m_Settings.ButtonText; }

    const StdDateSettings& Settings() const { return m_Settings; }

private:
    StdDateSettings m_Settings;
};

} // namespace velmar
