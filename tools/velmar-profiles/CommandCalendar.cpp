#include "calendar/Calendar.h"
#include "common/Errors.h"
#include "platform/DateServices.h"
#include "tools/velmar-profiles/Commands.h"

#include <array>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace velmar::tool {
namespace {

constexpr std::string_view kHelp = R"(Usage: velmar-profiles calendar CALENDAR_FILE [--year YYYY]

Lists every date of a calendar file (14,610 day-type codes, 1 January 2000 to
31 December 2039) whose code is not 0, one line per date: "YYYY-MM-DD code".
Code k from 1 to 23 stands for schedule day type k - 1 (1 to 7 Monday to
Sunday, 8 to 23 the further day types). With --year only that year's dates are
listed.

Exit status 0 when the file was read (also when no date has a code), 1 when
the file is missing or unreadable, 2 for a usage error.
)";

std::string DateText(const CivilDate& date) {
    std::array<char, 32> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%04lld-%02d-%02d", static_cast<long long>(date.Year),
                  date.Month, date.Day);
    return buffer.data();
}

// A year of the calendar, 2000 to 2039; UsageError for anything else.
int ParseYear(const std::string& text) {
    if (text.size() != 4 || text.find_first_not_of("0123456789") != std::string::npos) {
        throw UsageError("--year needs a year from 2000 to 2039");
    }
    const int year = std::stoi(text);
    if (year < 2000 || year > 2039) {
        throw UsageError("--year needs a year from 2000 to 2039");
    }
    return year;
}

} // namespace

const CommandSpec& CalendarSpec() {
    static const CommandSpec syntax{
        .Name = "calendar",
        .Synopsis = "calendar CALENDAR_FILE [--year YYYY]",
        .Summary = "List every date with a non-zero day-type code.",
        .Help = kHelp,
        .Options = {{.Name = "--year", .Value = "YYYY"}},
        .Operands = "calendar file",
        .MinOperands = 1,
        .MaxOperands = 1,
    };
    return syntax;
}

int CommandCalendar(const ParsedArguments& args, std::ostream& out, std::ostream& /*err*/) {
    const std::string& path = args.Operands().front();
    std::optional<int> year;
    if (const auto text = args.Value("--year")) {
        year = ParseYear(*text);
    }
    cCalendar calendar;
    if (calendar.ReadFromDisk(path) == 0) {
        throw FileError("no calendar file " + path);
    }
    for (std::int32_t day = 0; day < kCalendarDays; ++day) {
        const std::int16_t code = calendar.GetDayType(day);
        if (code == 0) {
            continue;
        }
        const CivilDate date = DateOfDayOffset(day);
        if (year && date.Year != *year) {
            continue;
        }
        out << DateText(date) << ' ' << code << '\n';
    }
    return 0;
}

} // namespace velmar::tool
