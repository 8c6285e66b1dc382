// The holiday import of an iCalendar text (libical reads the properties and
// expands the rules): whatever the bytes, it either gives labels held by the
// dates of 2000 to 2039, each label index valid and each label used, the same
// again on a second import, and the shared tables filled with exactly those
// dates; or it fails with InvalidArgumentError in one line that names a line
// of the text. Any other exception ends the run as a finding.

#include "common/Errors.h"
#include "common/SharedTables.h"
#include "editor_host/ICalendar.h"
#include "fuzz/FuzzSupport.h"

#include <algorithm>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmar;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const HolidayImport holidays = ReadHolidays(text);
        VELMAR_FUZZ_CHECK(holidays.LabelOfDay.size() == static_cast<std::size_t>(kCalendarDays),
                          "one entry for each date of 2000 to 2039");
        std::vector<bool> used(holidays.Labels.size(), false);
        std::int32_t dates = 0;
        for (const std::int32_t index : holidays.LabelOfDay) {
            VELMAR_FUZZ_CHECK(index >= -1 && index < static_cast<std::int32_t>(holidays.Labels.size()),
                              "a date's label is one of the labels");
            if (index >= 0) {
                used[static_cast<std::size_t>(index)] = true;
                ++dates;
            }
        }
        VELMAR_FUZZ_CHECK(dates == holidays.Dates, "the count of dates is the dates labelled");
        VELMAR_FUZZ_CHECK(std::all_of(used.begin(), used.end(), [](bool u) { return u; }),
                          "every label is used");
        for (const std::string& label : holidays.Labels) {
            VELMAR_FUZZ_CHECK(label.size() <= kMaxHolidayLabelBytes, "labels are cut");
        }
        VELMAR_FUZZ_CHECK(holidays.LaterEvents <= holidays.Events && holidays.Events >= 0 &&
                              holidays.TimedEvents >= 0 && holidays.CancelledEvents >= 0 &&
                              holidays.UndatedEvents >= 0 && holidays.TakenDates >= holidays.LaterEvents,
                          "the counts agree");

        const HolidayImport again = ReadHolidays(text);
        VELMAR_FUZZ_CHECK(again.LabelOfDay == holidays.LabelOfDay && again.Labels == holidays.Labels &&
                              again.TakenDates == holidays.TakenDates,
                          "a second import gives the same");

        ShowHolidays(holidays);
        VELMAR_FUZZ_CHECK(HolidayLabels.Count() == holidays.Dates, "one label in the tables for each date");
        for (const auto& label : HolidayLabels) {
            VELMAR_FUZZ_CHECK(label->m_Day >= 0 && label->m_Day < kCalendarDays &&
                                  HolidayFlags[label->m_Day] != 0,
                              "the tables hold dates of 2000 to 2039, flagged");
        }
    } catch (const InvalidArgumentError& error) {
        const std::string message = error.what();
        VELMAR_FUZZ_CHECK(std::none_of(message.begin(), message.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x20; }),
                          "an error is one line without control characters");
        const std::size_t at = message.find("line ");
        if (at != std::string::npos && at + 5 < message.size() && message[at + 5] >= '1' &&
            message[at + 5] <= '9') {
            const std::size_t line = std::stoul(message.substr(at + 5));
            const std::size_t lines =
                static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
            VELMAR_FUZZ_CHECK(line >= 1 && line <= lines, "an error names a line of the text");
        } else {
            VELMAR_FUZZ_CHECK(message.find("not an iCalendar file") != std::string::npos,
                              "an error names a line, or says the text is no iCalendar file");
        }
    }
    return 0;
}
