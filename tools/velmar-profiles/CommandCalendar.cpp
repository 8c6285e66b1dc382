#include "calendar/Calendar.h"
#include "common/Errors.h"
#include "editor_host/EditedFiles.h"
#include "platform/BinaryFile.h"
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

constexpr std::string_view kHelp = R"(Usage: velmar-profiles calendar CALENDAR_FILE [--year YYYY] [--force]

Lists every date of a calendar file (14,610 day-type codes, 1 January 2000 to
31 December 2039) whose code is not 0, one line per date: "YYYY-MM-DD code".
Code k from 1 to 23 stands for schedule day type k - 1 (1 to 7 Monday to
Sunday, 8 to 23 the further day types). With --year only that year's dates are
listed.

A file that is no calendar is named with the reason and nothing is listed: a
code outside 0 to 23 (the first such date and its code are named), a file
shorter than a calendar's 29,220 bytes, anything but a regular file. With
--force the codes of a regular file are listed all the same (a short file's
missing codes as 0).

Exit status 0 when the file was read as a calendar (also when no date has a
code), 1 when it is missing, unreadable or no calendar, 2 for a usage error.
)";

constexpr std::int16_t kHighestCode = 23;

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

const CommandSyntax& CalendarSyntax() {
    static const CommandSyntax syntax{
        .Name = "calendar",
        .Synopsis = "calendar CALENDAR_FILE [--year YYYY] [--force]",
        .Summary = "List every date with a non-zero day-type code.",
        .Help = kHelp,
        .Options = {{.Name = "--year", .Value = "YYYY"}, {.Name = "--force"}},
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
    const bool force = args.Has("--force");
    // What the file is, before it is read as a calendar: a missing file, a
    // device or a FIFO is named with the reason, and never waited for.
    std::uint64_t size = 0;
    {
        BinaryFile file(path, BinaryFile::Mode::Read);
        size = file.Size();
    }
    cCalendar calendar;
    if (calendar.ReadFromDisk(path) == 0) {
        throw FileError("no calendar file " + path);
    }
    if (!force) {
        if (size < kCalendarFileBytes) {
            throw FileError(path + " is not a calendar file: it has " + std::to_string(size) +
                            " bytes, a calendar file has " + std::to_string(kCalendarFileBytes) +
                            " (--force lists it anyway)");
        }
        for (std::int32_t day = 0; day < kCalendarDays; ++day) {
            const std::int16_t code = calendar.GetDayType(day);
            if (code < 0 || code > kHighestCode) {
                throw FileError(path + " is not a calendar file: " + DateText(DateOfDayOffset(day)) +
                                " has code " + std::to_string(code) + ", outside 0 to " +
                                std::to_string(kHighestCode) + " (--force lists it anyway)");
            }
        }
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
