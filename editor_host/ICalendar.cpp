#include "editor_host/ICalendar.h"

#include "calendar/Calendar.h"
#include "common/Errors.h"
#include "common/SharedTables.h"
#include "editor_host/SharedTablesScope.h"
#include "platform/DateServices.h"
#include "schedule/TimeSchedule.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <optional>

namespace velmar {

namespace {

constexpr std::size_t kFoldAt = 75; // bytes of a content line, without its CRLF
constexpr std::int32_t kMinutesPerDay = 1440;
constexpr int kWeekdays = 7;
// Monday 1 January 2024: the week the weekly events start in.
constexpr std::int64_t kFirstYear = 2024;

std::string TwoDigits(std::int64_t value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

std::string DateText(std::int64_t dayOffset) {
    const CivilDate date = DateOfDayOffset(dayOffset);
    return std::to_string(date.Year) + TwoDigits(date.Month) + TwoDigits(date.Day);
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
        case ';':
        case ',':
            out += '\\';
            out += c;
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Appends one content line, folded so that no line exceeds 75 bytes and no
// UTF-8 character is split.
void AddLine(std::string& out, std::string_view line) {
    std::size_t limit = kFoldAt;
    while (line.size() > limit) {
        std::size_t cut = limit;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        limit = kFoldAt - 1; // the leading blank counts
    }
    out.append(line);
    out += "\r\n";
}

std::string Begin() {
    std::string out;
    AddLine(out, "BEGIN:VCALENDAR");
    AddLine(out, "VERSION:2.0");
    AddLine(out, "PRODID:-//Velmar//Velmar Editor//EN");
    AddLine(out, "CALSCALE:GREGORIAN");
    return out;
}

std::string TimeText(std::int64_t dayOffset, std::int32_t minute) {
    const std::int64_t day = dayOffset + minute / kMinutesPerDay;
    const std::int32_t rest = minute % kMinutesPerDay;
    return DateText(day) + "T" + TwoDigits(rest / 60) + TwoDigits(rest % 60) + "00";
}

// The lines of an iCalendar text, unfolded.
std::vector<std::string> Unfolded(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty() && (line.front() == ' ' || line.front() == '\t') && !lines.empty()) {
            lines.back().append(line.substr(1));
        } else {
            lines.emplace_back(line);
        }
        start = end + 1;
    }
    return lines;
}

std::string Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out += next == 'n' || next == 'N' ? '\n' : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

struct Property {
    std::string Name;       // upper case
    std::string Parameters; // as written, upper case
    std::string Value;
};

Property Split(const std::string& line) {
    Property property;
    // The name and the parameters end at the first colon outside quotes.
    bool quoted = false;
    std::size_t colon = std::string::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    const std::string head = line.substr(0, colon);
    property.Value = colon == std::string::npos ? std::string() : line.substr(colon + 1);
    const std::size_t semicolon = head.find(';');
    property.Name = head.substr(0, semicolon);
    property.Parameters = semicolon == std::string::npos ? std::string() : head.substr(semicolon);
    for (auto* text : {&property.Name, &property.Parameters}) {
        for (char& c : *text) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
    }
    return property;
}

// The day offset of a plain date "YYYYMMDD"; nothing for a date with a time.
std::optional<std::int64_t> PlainDate(const Property& property, std::size_t lineNumber) {
    const std::string& value = property.Value;
    if (value.size() != 8) {
        if (property.Parameters.find("VALUE=DATE") != std::string::npos &&
            property.Parameters.find("VALUE=DATE-TIME") == std::string::npos) {
            throw InvalidArgumentError("line " + std::to_string(lineNumber) + ": \"" + value +
                                       "\" is not a date (YYYYMMDD)");
        }
        return std::nullopt;
    }
    int year = 0;
    int month = 0;
    int day = 0;
    auto number = [&](std::size_t at, std::size_t length, int& out) {
        const char* first = value.data() + at;
        const auto [end, error] = std::from_chars(first, first + length, out);
        return error == std::errc() && end == first + length;
    };
    if (!number(0, 4, year) || !number(4, 2, month) || !number(6, 2, day) || month < 1 || month > 12 ||
        day < 1 || day > 31) {
        throw InvalidArgumentError("line " + std::to_string(lineNumber) + ": \"" + value +
                                   "\" is not a date (YYYYMMDD)");
    }
    return DayOffsetOf(year, month, day);
}

} // namespace

std::string CalendarToICalendar(const cCalendar& calendar, const std::vector<std::string>& dayTypeNames,
                                const ICalendarExport& options) {
    std::string out = Begin();
    for (std::int32_t day = 0; day < kCalendarDays; ++day) {
        const std::int16_t code = calendar.GetDayType(day);
        if (code == 0) {
            continue;
        }
        const bool named =
            code >= 1 && code <= kDayTypeCount && static_cast<std::size_t>(code - 1) < dayTypeNames.size();
        const std::string name = named ? dayTypeNames[static_cast<std::size_t>(code - 1)]
                                       : "Day-type code " + std::to_string(code);
        AddLine(out, "BEGIN:VEVENT");
        AddLine(out, "UID:" + Escaped(options.UidPrefix) + "-" + DateText(day) + "@velmar-editor");
        AddLine(out, "DTSTAMP:" + options.Stamp);
        AddLine(out, "DTSTART;VALUE=DATE:" + DateText(day));
        AddLine(out, "DTEND;VALUE=DATE:" + DateText(day + 1));
        AddLine(out, "SUMMARY:" + Escaped(name));
        AddLine(out, "TRANSP:TRANSPARENT");
        AddLine(out, "END:VEVENT");
    }
    AddLine(out, "END:VCALENDAR");
    return out;
}

std::string ScheduleToICalendar(const cTimeSchedule& schedule, std::string_view summary,
                                const ICalendarExport& options) {
    const std::int64_t monday = DayOffsetOf(kFirstYear, 1, 1);
    std::string out = Begin();
    for (std::int16_t dayType = 0; dayType < kWeekdays; ++dayType) {
        if (schedule.GetActive(dayType) == 0) {
            continue;
        }
        int number = 0;
        for (const auto& period : schedule.Periods(dayType)) {
            const std::int32_t start = period->m_StartMinute;
            const std::int32_t stop = period->m_StopMinute;
            ++number;
            if (start < 0 || stop > kMinutesPerDay || start > stop) {
                continue;
            }
            AddLine(out, "BEGIN:VEVENT");
            AddLine(out, "UID:" + Escaped(options.UidPrefix) + "-day" + std::to_string(dayType) + "-period" +
                             std::to_string(number) + "@velmar-editor");
            AddLine(out, "DTSTAMP:" + options.Stamp);
            AddLine(out, "DTSTART:" + TimeText(monday + dayType, start));
            AddLine(out, "DTEND:" + TimeText(monday + dayType, stop));
            AddLine(out, "RRULE:FREQ=WEEKLY");
            AddLine(out, "SUMMARY:" + Escaped(summary));
            AddLine(out, "END:VEVENT");
        }
    }
    AddLine(out, "END:VCALENDAR");
    return out;
}

std::vector<HolidayDate> ReadHolidayDates(std::string_view text) {
    // A byte-order mark may lead a file written on Windows.
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    const std::vector<std::string> lines = Unfolded(text);
    std::size_t first = 0;
    while (first < lines.size() && lines[first].empty()) {
        ++first;
    }
    if (first == lines.size() || Split(lines[first]).Name != "BEGIN" ||
        Split(lines[first]).Value != "VCALENDAR") {
        throw InvalidArgumentError("not an iCalendar file: it does not begin with BEGIN:VCALENDAR");
    }
    std::vector<HolidayDate> holidays;
    bool inEvent = false;
    // Day offsets; kNoDate until the event names one.
    constexpr std::int64_t kNoDate = INT64_MIN;
    std::int64_t start = kNoDate;
    std::int64_t end = kNoDate;
    bool timed = false;
    std::string summary;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const Property property = Split(lines[i]);
        const std::size_t lineNumber = i + 1;
        if (property.Name == "BEGIN" && property.Value == "VEVENT") {
            inEvent = true;
            start = kNoDate;
            end = kNoDate;
            timed = false;
            summary.clear();
        } else if (!inEvent) {
            continue;
        } else if (property.Name == "END" && property.Value == "VEVENT") {
            inEvent = false;
            if (timed || start == kNoDate) {
                continue;
            }
            const std::int64_t last = end > start ? end : start + 1;
            for (std::int64_t day = start; day < last; ++day) {
                if (day >= 0 && day < kCalendarDays) {
                    holidays.push_back({static_cast<std::int32_t>(day), summary});
                }
            }
        } else if (property.Name == "DTSTART") {
            const auto date = PlainDate(property, lineNumber);
            timed = !date;
            start = date.value_or(kNoDate);
        } else if (property.Name == "DTEND") {
            end = PlainDate(property, lineNumber).value_or(kNoDate);
        } else if (property.Name == "SUMMARY") {
            summary = Unescaped(property.Value);
        }
    }
    return holidays;
}

void ShowHolidays(const std::vector<HolidayDate>& holidays) {
    HolidayFlags.fill(0);
    HolidayLabels.Clear();
    for (const HolidayDate& holiday : holidays) {
        SharedTablesScope::AddHoliday(holiday.DayOffset, holiday.Label, true);
    }
}

} // namespace velmar
