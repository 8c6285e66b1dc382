#pragma once

// The texts an editor window shows for day types and weekdays, in the user's
// language. The editor components only read the shared tables; a host fills
// them: DayTypeNames and DayTypeLongNames for the grid's row labels and the
// calendar's dates, and the weekday texts 611 to 617 of the text table, whose
// first three characters head the calendar's columns.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

enum class EditorLanguage { English, Swedish };

// Swedish for a locale name of the Swedish language ("sv", "sv_SE",
// "sv_FI.UTF-8"), English for every other.
EditorLanguage LanguageOfLocale(std::string_view localeName);

struct DayTypeTexts {
    std::array<std::string, 23> Short; // Mon .. Sun, S1 .. S16
    std::array<std::string, 23> Long;  // Monday .. Sunday, Special day 1 .. 16
    std::string ByWeekday;             // the combo entry of code 0
};
const DayTypeTexts& TextsIn(EditorLanguage language);

// The text numbers of the weekday texts, Monday first.
constexpr int kFirstWeekdayTextNumber = 611;

// Fills DayTypeNames, DayTypeLongNames and the text table's weekday texts.
// Other entries of the text table stay.
void FillDayTypeTexts(EditorLanguage language);

// The entries of the calendar's day-type combo box: entry k (counted from 1)
// names code k - 1, so the first is "by weekday" and the others the day types' long names.
std::vector<std::string> DayTypeComboItems(EditorLanguage language);

} // namespace velmar
