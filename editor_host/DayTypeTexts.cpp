#include "editor_host/DayTypeTexts.h"

#include "common/CodePage.h"
#include "common/CommonProcedures.h"
#include "common/SharedTables.h"

#include <algorithm>

namespace velmar {

namespace {

constexpr int kWeekdays = 7;

DayTypeTexts MakeTexts(const std::array<std::string_view, kWeekdays>& shortNames,
                       const std::array<std::string_view, kWeekdays>& longNames, std::string_view special,
                       std::string_view byWeekday) {
    DayTypeTexts texts;
    for (int d = 0; d < kDayTypeCount; ++d) {
        const auto i = static_cast<std::size_t>(d);
        if (d < kWeekdays) {
            texts.Short[i] = shortNames[i];
            texts.Long[i] = longNames[i];
        } else {
            const std::string number = std::to_string(d - kWeekdays + 1);
            texts.Short[i] = "S" + number;
            texts.Long[i] = std::string(special) + " " + number;
        }
    }
    texts.ByWeekday = byWeekday;
    return texts;
}

} // namespace

EditorLanguage LanguageOfLocale(std::string_view localeName) {
    const bool swedish = localeName.starts_with("sv") && (localeName.size() == 2 || localeName[2] == '_' ||
                                                          localeName[2] == '-' || localeName[2] == '.');
    return swedish ? EditorLanguage::Swedish : EditorLanguage::English;
}

const DayTypeTexts& TextsIn(EditorLanguage language) {
    static const DayTypeTexts english =
        MakeTexts({"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
                  {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
                  "Special day", "(by weekday)");
    static const DayTypeTexts swedish =
        MakeTexts({"Mån", "Tis", "Ons", "Tor", "Fre", "Lör", "Sön"},
                  {"Måndag", "Tisdag", "Onsdag", "Torsdag", "Fredag", "Lördag", "Söndag"}, "Specialdag",
                  "(efter veckodag)");
    return language == EditorLanguage::Swedish ? swedish : english;
}

void FillDayTypeTexts(EditorLanguage language) {
    const DayTypeTexts& texts = TextsIn(language);
    for (int d = 0; d < kDayTypeCount; ++d) {
        DayTypeNames[d] = texts.Short[static_cast<std::size_t>(d)];
        DayTypeLongNames[d] = texts.Long[static_cast<std::size_t>(d)];
    }
    // The weekday texts replace any entries of their numbers: the lookup takes
    // the first entry of a number, so the old ones go.
    TextIndex.resize(static_cast<std::size_t>(std::max(TextCount, 0)));
    std::erase_if(TextIndex, [](const TextIndexEntry& entry) {
        return entry.Number >= kFirstWeekdayTextNumber && entry.Number < kFirstWeekdayTextNumber + kWeekdays;
    });
    for (int d = 0; d < kWeekdays; ++d) {
        const std::string& name = texts.Long[static_cast<std::size_t>(d)];
        // Positions and lengths count characters (code points), not bytes.
        TextIndex.push_back({kFirstWeekdayTextNumber + d,
                             static_cast<std::int32_t>(Utf8ToCodePoints(TextData).size() + 1),
                             static_cast<std::int32_t>(Utf8ToCodePoints(name).size())});
        TextData += name;
    }
    TextCount = static_cast<std::int32_t>(TextIndex.size());
}

std::vector<std::string> DayTypeComboItems(EditorLanguage language) {
    const DayTypeTexts& texts = TextsIn(language);
    std::vector<std::string> items{texts.ByWeekday};
    items.insert(items.end(), texts.Long.begin(), texts.Long.end());
    return items;
}

} // namespace velmar
