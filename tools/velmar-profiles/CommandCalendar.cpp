#include "calendar/Calendar.h"
#include "common/FileSystem.h"
#include "platform/DateServices.h"
#include "tools/velmar-profiles/Commands.h"

#include <array>
#include <cstdio>
#include <exception>
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

bool ParseYear(const std::string& text, int& year) {
    if (text.size() != 4 || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    year = std::stoi(text);
    return year >= 2000 && year <= 2039;
}

} // namespace

int CommandCalendar(const Arguments& args, std::ostream& out, std::ostream& err) {
    std::optional<std::string> path;
    std::optional<int> year;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << kHelp;
            return 0;
        }
        if (arg == "--year") {
            int value = 0;
            if (i + 1 >= args.size() || !ParseYear(args[i + 1], value)) {
                err << "velmar-profiles: calendar: --year needs a year from 2000 to 2039\n";
                return 2;
            }
            year = value;
            ++i;
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            err << "velmar-profiles: calendar: unknown option \"" << arg << "\"\n";
            return 2;
        } else if (!path) {
            path = arg;
        } else {
            err << "velmar-profiles: calendar: more than one calendar file given\n";
            return 2;
        }
    }
    if (!path) {
        err << kHelp;
        return 2;
    }

    cCalendar calendar;
    try {
        if (calendar.ReadFromDisk(*path) == 0) {
            err << "velmar-profiles: calendar: no calendar file " << *path << '\n';
            return 1;
        }
    } catch (const std::exception& error) {
        err << "velmar-profiles: calendar: cannot read " << *path << ": " << error.what() << '\n';
        return 1;
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
