// Holiday labels from an iCalendar file. libical reads every property the
// import uses and expands the recurrence rules; this file unfolds the lines
// (keeping each one's physical line number for the errors), follows the
// nesting of the components, and holds the labels by date.

#include "common/Errors.h"
#include "common/SharedTables.h"
#include "editor_host/ICalendar.h"
#include "editor_host/Libical.h"
#include "editor_host/SharedTablesScope.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

namespace velmar {

namespace {

using ical::Component;

constexpr std::int64_t kLastDay = kCalendarDays - 1;
constexpr std::size_t kQuotedBytes = 80;

// Days of one occurrence at most: longer ones cover the forty years anyway.
constexpr std::int64_t kMaxOccurrenceDays = 2 * static_cast<std::int64_t>(kCalendarDays);

// The properties of an event that the import reads.
enum class Use { Date, Duration, Rule, Text };

struct UsedProperty {
    std::string_view Name;
    Use What;
};

constexpr std::array<UsedProperty, 8> kUsedProperties = {{
    {"DTSTART", Use::Date},
    {"DTEND", Use::Date},
    {"RDATE", Use::Date},
    {"EXDATE", Use::Date},
    {"DURATION", Use::Duration},
    {"RRULE", Use::Rule},
    {"SUMMARY", Use::Text},
    {"STATUS", Use::Text},
}};

bool SameLetters(std::string_view text, std::string_view upper) {
    return text.size() == upper.size() &&
           std::equal(text.begin(), text.end(), upper.begin(), [](char a, char b) {
               return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
           });
}

// The name of a content line: everything before its first ';' or ':'.
std::string_view NameOf(std::string_view line) {
    return line.substr(0, std::min(line.find(';'), line.find(':')));
}

// The value of a BEGIN or END line, without blanks around it.
std::string_view ComponentNameOf(std::string_view line) {
    const std::size_t colon = line.find(':');
    std::string_view value = colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) {
        value.remove_suffix(1);
    }
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
        value.remove_prefix(1);
    }
    return value;
}

// A line as an error message quotes it: at most 80 bytes, cut between
// characters, control characters as blanks.
std::string Quoted(std::string_view line) {
    std::string text(line.substr(0, kQuotedBytes));
    if (line.size() > kQuotedBytes) {
        while (!text.empty() && (static_cast<unsigned char>(line[text.size()]) & 0xC0) == 0x80) {
            text.pop_back();
        }
        text += "...";
    }
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return "\"" + text + "\"";
}

InvalidArgumentError LineError(std::size_t line, const std::string& message) {
    return InvalidArgumentError("line " + std::to_string(line) + ": " + message);
}

bool IsValidTime(const icaltimetype& time) {
    if (time.year < 1 || time.year > 9999 || time.month < 1 || time.month > 12 || time.day < 1 ||
        time.day > icaltime_days_in_month(time.month, time.year)) {
        return false;
    }
    return time.is_date != 0 || (time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59 &&
                                 time.second >= 0 && time.second <= 60);
}

// Whether every date, duration and rule of a component that libical read is
// one: libical notes what it could not read as X-LIC-ERROR properties, and
// takes dates such as 31 February, which it does not check.
bool DatesAreValid(icalcomponent* event) {
    if (icalcomponent_count_errors(event) > 0) {
        return false;
    }
    for (icalproperty* property = icalcomponent_get_first_property(event, ICAL_ANY_PROPERTY);
         property != nullptr; property = icalcomponent_get_next_property(event, ICAL_ANY_PROPERTY)) {
        bool valid = true;
        switch (icalproperty_isa(property)) {
        case ICAL_DTSTART_PROPERTY:
            valid = IsValidTime(icalproperty_get_dtstart(property));
            break;
        case ICAL_DTEND_PROPERTY:
            valid = IsValidTime(icalproperty_get_dtend(property));
            break;
        case ICAL_EXDATE_PROPERTY:
            valid = IsValidTime(icalproperty_get_exdate(property));
            break;
        case ICAL_RDATE_PROPERTY: {
            const icaldatetimeperiodtype date = icalproperty_get_rdate(property);
            valid = icaltime_is_null_time(date.time) != 0
                        ? IsValidTime(date.period.start) &&
                              (icaltime_is_null_time(date.period.end) != 0 || IsValidTime(date.period.end))
                        : IsValidTime(date.time);
            break;
        }
        case ICAL_RRULE_PROPERTY: {
            const icalrecurrencetype rule = icalproperty_get_rrule(property);
            valid = rule.freq != ICAL_NO_RECURRENCE &&
                    (icaltime_is_null_time(rule.until) != 0 || IsValidTime(rule.until));
            break;
        }
        default:
            break;
        }
        if (!valid) {
            return false;
        }
    }
    return true;
}

// One line of an event that the import reads, with its physical line number.
struct EventLine {
    std::string Text;
    std::size_t Number = 0;
    Use What = Use::Text;
};

// Where the dates of the events go: each date is labelled by the first event
// that has it. The days still free are found through a "next free day" link
// per day, so that every day is handed out once however many events cover it.
class DateClaims {
public:
    explicit DateClaims(HolidayImport& result) : m_Result(result), m_NextFree(kCalendarDays + 1) {
        for (std::int32_t day = 0; day <= kCalendarDays; ++day) {
            m_NextFree[static_cast<std::size_t>(day)] = day;
        }
        m_Result.LabelOfDay.assign(kCalendarDays, -1);
    }

    // Gives the event's free days in the sorted, disjoint day ranges [first,
    // end) its label.
    void Claim(const std::vector<std::pair<std::int32_t, std::int32_t>>& ranges, std::string_view label) {
        std::int32_t labelIndex = -1;
        std::int64_t taken = 0;
        for (const auto& [first, end] : ranges) {
            std::int32_t claimed = 0;
            for (std::int32_t day = Free(first); day < end; day = Free(day + 1)) {
                if (labelIndex < 0) {
                    labelIndex = static_cast<std::int32_t>(m_Result.Labels.size());
                    m_Result.Labels.emplace_back(label);
                }
                m_Result.LabelOfDay[static_cast<std::size_t>(day)] = labelIndex;
                m_NextFree[static_cast<std::size_t>(day)] = day + 1;
                ++claimed;
            }
            m_Result.Dates += claimed;
            taken += (end - first) - claimed;
        }
        if (taken > 0) {
            ++m_Result.LaterEvents;
            m_Result.TakenDates += taken;
        }
    }

private:
    // The first free day at or after `day` (kCalendarDays: none).
    std::int32_t Free(std::int32_t day) {
        std::int32_t root = day;
        while (m_NextFree[static_cast<std::size_t>(root)] != root) {
            root = m_NextFree[static_cast<std::size_t>(root)];
        }
        while (m_NextFree[static_cast<std::size_t>(day)] != root) {
            day = std::exchange(m_NextFree[static_cast<std::size_t>(day)], root);
        }
        return root;
    }

    HolidayImport& m_Result;
    std::vector<std::int32_t> m_NextFree;
};

// The label of an event: its SUMMARY, cut between characters.
std::string LabelOf(icalcomponent* event) {
    icalproperty* summary = icalcomponent_get_first_property(event, ICAL_SUMMARY_PROPERTY);
    const char* text = summary != nullptr ? icalproperty_get_summary(summary) : nullptr;
    std::string label = text != nullptr ? text : "";
    if (label.size() > kMaxHolidayLabelBytes) {
        std::size_t cut = kMaxHolidayLabelBytes;
        while (cut > 0 && (static_cast<unsigned char>(label[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        label.resize(cut);
    }
    return label;
}

// The days an occurrence of an all-day event lasts: from DTSTART to DTEND, or
// its DURATION in whole days (a part of a day counts as one), at least one.
std::int64_t DaysOf(icalcomponent* event, std::int64_t start) {
    std::int64_t days = 1;
    if (icalproperty* end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
        days = ical::DayOffsetOfTime(icalproperty_get_dtend(end)) - start;
    } else if (icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        const icaldurationtype value = icalproperty_get_duration(duration);
        const std::int64_t seconds =
            std::int64_t{value.hours} * 3600 + std::int64_t{value.minutes} * 60 + std::int64_t{value.seconds};
        days = value.is_neg != 0
                   ? 0
                   : std::int64_t{value.weeks} * 7 + std::int64_t{value.days} + (seconds + 86399) / 86400;
    }
    return std::clamp<std::int64_t>(days, 1, kMaxOccurrenceDays);
}

class HolidayReader {
public:
    HolidayImport Read(std::string_view text) {
        // A byte-order mark may lead a file written on Windows.
        if (text.starts_with("\xEF\xBB\xBF")) {
            text.remove_prefix(3);
        }
        // Unfolds the lines: a line that begins with a blank or a tab goes on
        // the line before it.
        std::string logical;
        std::size_t logicalNumber = 0;
        std::size_t number = 0;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            std::string_view line = text.substr(start, end - start);
            start = end + 1;
            ++number;
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            if (!line.empty() && (line.front() == ' ' || line.front() == '\t') && logicalNumber != 0) {
                logical.append(line.substr(1));
                continue;
            }
            if (logicalNumber != 0) {
                Line(logical, logicalNumber);
            }
            logical.assign(line);
            logicalNumber = number;
        }
        if (logicalNumber != 0) {
            Line(logical, logicalNumber);
        }
        if (!m_SeenCalendar) {
            throw InvalidArgumentError("not an iCalendar file: it does not begin with BEGIN:VCALENDAR");
        }
        if (!m_Open.empty()) {
            throw LineError(m_Open.back().second,
                            Quoted("BEGIN:" + m_Open.back().first) +
                                " does not end before the file does (is it cut short?)");
        }
        return std::move(m_Result);
    }

private:
    // One unfolded line, numbered by the physical line it begins on.
    void Line(const std::string& line, std::size_t number) {
        if (!m_SeenCalendar) {
            if (line.find_first_not_of(" \t") == std::string::npos) {
                return;
            }
            if (!SameLetters(NameOf(line), "BEGIN") || !SameLetters(ComponentNameOf(line), "VCALENDAR")) {
                throw InvalidArgumentError("not an iCalendar file: it does not begin with BEGIN:VCALENDAR");
            }
            m_SeenCalendar = true;
        }
        const std::string_view name = NameOf(line);
        if (SameLetters(name, "BEGIN")) {
            std::string component(ComponentNameOf(line));
            std::transform(component.begin(), component.end(), component.begin(), [](char c) {
                return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
            });
            m_Open.emplace_back(std::move(component), number);
            if (m_Open.size() == 2 && m_Open[0].first == "VCALENDAR" && m_Open[1].first == "VEVENT") {
                m_InEvent = true;
                m_EventLines.clear();
            }
        } else if (SameLetters(name, "END")) {
            const std::string_view component = ComponentNameOf(line);
            if (m_Open.empty()) {
                throw LineError(number, Quoted(line) + " ends a component that did not begin");
            }
            if (!SameLetters(component, m_Open.back().first)) {
                throw LineError(number, Quoted(line) + " where " + Quoted("BEGIN:" + m_Open.back().first) +
                                            " of line " + std::to_string(m_Open.back().second) +
                                            " should end");
            }
            if (m_InEvent && m_Open.size() == 2) {
                Event(m_Open.back().second);
                m_InEvent = false;
            }
            m_Open.pop_back();
        } else if (m_InEvent && m_Open.size() == 2) {
            for (const UsedProperty& used : kUsedProperties) {
                if (SameLetters(name, used.Name)) {
                    m_EventLines.push_back({line, number, used.What});
                    break;
                }
            }
        }
    }

    // libical's reading of an event made of these of its lines.
    Component Parse(const std::vector<const EventLine*>& lines) {
        if (!m_Parser) {
            m_Parser.reset(icalparser_new());
        }
        std::string begin = "BEGIN:VEVENT";
        std::string end = "END:VEVENT";
        icalparser_add_line(m_Parser.get(), begin.data());
        for (const EventLine* line : lines) {
            std::string text = line->Text;
            icalparser_add_line(m_Parser.get(), text.data());
        }
        Component event(icalparser_add_line(m_Parser.get(), end.data()));
        if (!event) {
            m_Parser.reset(); // a parser in a state of its own starts again
            event.reset(icalcomponent_new(ICAL_VEVENT_COMPONENT));
            icalcomponent_add_property(event.get(), icalproperty_vanew_xlicerror("not read", nullptr));
        }
        return event;
    }

    // Reads the event that began on line `begin` and gives its dates their labels.
    void Event(std::size_t begin) {
        std::vector<const EventLine*> lines;
        lines.reserve(m_EventLines.size());
        for (const EventLine& line : m_EventLines) {
            lines.push_back(&line);
        }
        const Component event = Parse(lines);
        if (!DatesAreValid(event.get())) {
            // Find the line: each one read alone.
            for (const EventLine* line : lines) {
                if (line->What != Use::Text && !DatesAreValid(Parse({line}).get())) {
                    const std::string_view kind = line->What == Use::Date       ? "a valid date"
                                                  : line->What == Use::Duration ? "a valid duration"
                                                                                : "a valid recurrence rule";
                    throw LineError(line->Number, Quoted(line->Text) + " is not " + std::string(kind));
                }
            }
            // Only texts (SUMMARY, STATUS) were not read: the event goes on without them.
        }
        if (icalcomponent_get_status(event.get()) == ICAL_STATUS_CANCELLED) {
            ++m_Result.CancelledEvents;
            return;
        }
        icalproperty* startProperty = icalcomponent_get_first_property(event.get(), ICAL_DTSTART_PROPERTY);
        if (startProperty == nullptr) {
            ++m_Result.UndatedEvents;
            return;
        }
        const icaltimetype start = icalproperty_get_dtstart(startProperty);
        if (start.is_date == 0) {
            ++m_Result.TimedEvents;
            return;
        }
        ++m_Result.Events;
        const std::int64_t first = ical::DayOffsetOfTime(start);
        const std::int64_t days = DaysOf(event.get(), first);

        std::vector<std::int64_t> starts{first};
        std::size_t rule = 0;
        for (icalproperty* property = icalcomponent_get_first_property(event.get(), ICAL_RRULE_PROPERTY);
             property != nullptr;
             property = icalcomponent_get_next_property(event.get(), ICAL_RRULE_PROPERTY)) {
            // Without errors, the event holds one RRULE for each RRULE line, in order.
            std::size_t line = begin;
            std::size_t seen = 0;
            for (const EventLine* eventLine : lines) {
                if (eventLine->What == Use::Rule && seen++ == rule) {
                    line = eventLine->Number;
                }
            }
            ++rule;
            Expand(icalproperty_get_rrule(property), start, days, line, starts);
        }
        for (icalproperty* property = icalcomponent_get_first_property(event.get(), ICAL_RDATE_PROPERTY);
             property != nullptr;
             property = icalcomponent_get_next_property(event.get(), ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype date = icalproperty_get_rdate(property);
            starts.push_back(
                ical::DayOffsetOfTime(icaltime_is_null_time(date.time) != 0 ? date.period.start : date.time));
        }
        std::vector<std::int64_t> excluded;
        for (icalproperty* property = icalcomponent_get_first_property(event.get(), ICAL_EXDATE_PROPERTY);
             property != nullptr;
             property = icalcomponent_get_next_property(event.get(), ICAL_EXDATE_PROPERTY)) {
            excluded.push_back(ical::DayOffsetOfTime(icalproperty_get_exdate(property)));
        }
        std::sort(excluded.begin(), excluded.end());
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());

        // The occurrences' days within 2000 to 2039 as sorted, disjoint ranges.
        std::vector<std::pair<std::int32_t, std::int32_t>> ranges;
        for (const std::int64_t occurrence : starts) {
            if (std::binary_search(excluded.begin(), excluded.end(), occurrence)) {
                continue;
            }
            const std::int64_t from = std::max<std::int64_t>(occurrence, 0);
            const std::int64_t to = std::min<std::int64_t>(occurrence + days, kCalendarDays);
            if (from >= to) {
                continue;
            }
            if (!ranges.empty() && from <= ranges.back().second) {
                ranges.back().second = std::max(ranges.back().second, static_cast<std::int32_t>(to));
            } else {
                ranges.emplace_back(static_cast<std::int32_t>(from), static_cast<std::int32_t>(to));
            }
        }
        if (!ranges.empty()) {
            m_Claims.Claim(ranges, LabelOf(event.get()));
        }
    }

    // Adds the starts of the occurrences of `rule` (of the RRULE on `line`)
    // that an occurrence of `days` days may reach 2000 to 2039 from.
    void Expand(icalrecurrencetype rule, const icaltimetype& start, std::int64_t days, std::size_t line,
                std::vector<std::int64_t>& starts) {
        if (rule.freq < ICAL_DAILY_RECURRENCE) {
            throw LineError(line, "an all-day event cannot repeat more often than daily");
        }
        // The rule ends with 2039 at the latest, so that a rule that never or
        // seldom matches is not searched beyond it.
        const icaltimetype last = ical::DateOf(kLastDay);
        if (icaltime_is_null_time(rule.until) != 0 || icaltime_compare_date_only(rule.until, last) > 0) {
            rule.until = last;
        }
        ical::Iterator iterator(icalrecur_iterator_new(rule, start));
        if (!iterator) {
            throw LineError(line, "libical cannot expand this recurrence rule");
        }
        // A rule without COUNT starts where its occurrences begin to reach 2000.
        std::int64_t from = ical::DayOffsetOfTime(start);
        const std::int64_t reach = 1 - days;
        if (rule.count == 0 && from < reach) {
            if (ical::DayOffsetOfTime(rule.until) < reach) {
                return;
            }
            if (icalrecur_iterator_set_start(iterator.get(), ical::DateOf(reach)) != 0) {
                from = reach;
            } else {
                iterator.reset(icalrecur_iterator_new(rule, start));
            }
        }
        // The steps libical takes between occurrences: about one a day for a
        // daily or weekly rule, one a month or a year for the others.
        const std::int64_t stepDays = rule.freq == ICAL_MONTHLY_RECURRENCE  ? 28
                                      : rule.freq == ICAL_YEARLY_RECURRENCE ? 365
                                                                            : 1;
        std::int64_t paid =
            std::max<std::int64_t>(ical::DayOffsetOfTime(rule.until) - from + 1, 0) / stepDays + 1;
        Spend(paid, line);
        for (icaltimetype next = icalrecur_iterator_next(iterator.get()); icaltime_is_null_time(next) == 0;
             next = icalrecur_iterator_next(iterator.get())) {
            if (!IsValidTime(next)) {
                break;
            }
            const std::int64_t occurrence = ical::DayOffsetOfTime(next);
            if (occurrence > kLastDay) {
                break;
            }
            // Each occurrence is a step too, beyond those paid for.
            if (paid > 0) {
                --paid;
            } else {
                Spend(1, line);
            }
            starts.push_back(occurrence);
        }
    }

    void Spend(std::int64_t steps, std::size_t line) {
        m_Steps += steps;
        if (m_Steps > kMaxRecurrenceSteps) {
            throw LineError(line,
                            "the recurrence rules up to this one repeat more often than an import expands (" +
                                std::to_string(kMaxRecurrenceSteps) + " steps over 2000 to 2039)");
        }
    }

    HolidayImport m_Result;
    DateClaims m_Claims{m_Result};
    ical::Parser m_Parser;
    bool m_SeenCalendar = false;
    // The components begun and not yet ended, with their BEGIN lines.
    std::vector<std::pair<std::string, std::size_t>> m_Open;
    // Whether the lines go to an event of a calendar, and the ones they gave.
    bool m_InEvent = false;
    std::vector<EventLine> m_EventLines;
    std::int64_t m_Steps = 0;
};

} // namespace

const std::string* HolidayImport::LabelOn(std::int32_t dayOffset) const {
    if (dayOffset < 0 || static_cast<std::size_t>(dayOffset) >= LabelOfDay.size()) {
        return nullptr;
    }
    const std::int32_t index = LabelOfDay[static_cast<std::size_t>(dayOffset)];
    return index < 0 ? nullptr : &Labels[static_cast<std::size_t>(index)];
}

HolidayImport ReadHolidays(std::string_view text) {
    return HolidayReader().Read(text);
}

void ShowHolidays(const HolidayImport& holidays) {
    HolidayFlags.fill(0);
    HolidayLabels.Clear();
    for (std::int32_t day = 0; day < kCalendarDays; ++day) {
        if (const std::string* label = holidays.LabelOn(day)) {
            SharedTablesScope::AddHoliday(day, *label, true);
        }
    }
}

} // namespace velmar
