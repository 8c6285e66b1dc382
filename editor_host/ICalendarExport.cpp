// A calendar's coded dates and a profile's weekly schedule as iCalendar
// files, written by libical (escaping, folding, line ends).

#include "calendar/Calendar.h"
#include "editor_host/ICalendar.h"
#include "editor_host/Libical.h"
#include "schedule/TimeSchedule.h"

#include <array>
#include <cstdio>
#include <random>

namespace velmar {

namespace {

using ical::Component;

constexpr std::int32_t kMinutesPerDay = 1440;
constexpr int kWeekdays = 7;
// Monday 1 January 2024: the week the weekly events start in.
constexpr std::int64_t kFirstYear = 2024;

// `text` as valid UTF-8 without control characters but line feeds: a byte
// that does not begin a whole character becomes U+FFFD.
std::string CleanText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = lead < 0x80             ? 1
                             : (lead & 0xE0) == 0xC0 ? 2
                             : (lead & 0xF0) == 0xE0 ? 3
                             : (lead & 0xF8) == 0xF0 ? 4
                                                     : 0;
        bool whole = length > 0 && at + length <= text.size();
        for (std::size_t i = 1; whole && i < length; ++i) {
            whole = (static_cast<unsigned char>(text[at + i]) & 0xC0) == 0x80;
        }
        if (whole && length > 1) {
            // No overlong forms, surrogates or code points beyond U+10FFFF.
            const auto second = static_cast<unsigned char>(text[at + 1]);
            whole = !(length == 2 && lead < 0xC2) && !(length == 3 && lead == 0xE0 && second < 0xA0) &&
                    !(length == 3 && lead == 0xED && second >= 0xA0) &&
                    !(length == 4 && lead == 0xF0 && second < 0x90) &&
                    !(length == 4 && (lead > 0xF4 || (lead == 0xF4 && second >= 0x90)));
        }
        if (!whole) {
            out += "\xEF\xBF\xBD";
            ++at;
            continue;
        }
        if (length > 1 || lead == '\n' || (lead >= 0x20 && lead != 0x7F)) {
            out.append(text.substr(at, length));
        }
        at += length;
    }
    return out;
}

std::string DateText(std::int64_t dayOffset) {
    const CivilDate date = DateOfDayOffset(dayOffset);
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04d%02d%02d", static_cast<int>(date.Year), date.Month,
                  date.Day);
    return text.data();
}

Component NewCalendar() {
    Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Velmar//Velmar Editor//EN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    return calendar;
}

// A new event with its UID (`key`, unique in the file, and the export's id)
// and DTSTAMP.
icalcomponent* NewEvent(icalcomponent* calendar, const std::string& key, const ICalendarExport& options) {
    icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    const std::string uid = key + "-" + CleanText(options.ExportId) + "@velmar-editor";
    icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(
        event, icalproperty_new_dtstamp(icaltime_from_timet_with_zone(static_cast<time_t>(options.Stamp), 0,
                                                                      icaltimezone_get_utc_timezone())));
    icalcomponent_add_component(calendar, event);
    return event;
}

// The time zone of a schedule's times.
struct ExportZone {
    icaltimezone* Zone = nullptr; // none: floating local times
    std::string Tzid;             // the TZID parameter; empty for UTC
};

ExportZone ZoneOf(icalcomponent* calendar, const std::string& name) {
    if (name.empty()) {
        return {};
    }
    icaltimezone* zone = icaltimezone_get_builtin_timezone(name.c_str());
    if (zone == nullptr) {
        return {};
    }
    if (zone == icaltimezone_get_utc_timezone()) {
        return {zone, {}};
    }
    icalcomponent* definition = icaltimezone_get_component(zone);
    if (definition == nullptr) {
        return {};
    }
    // The zone's rules as libical has them, under the zone's own name (libical
    // puts a prefix of its own before it).
    icalcomponent* copy = icalcomponent_new_clone(definition);
    if (icalproperty* tzid = icalcomponent_get_first_property(copy, ICAL_TZID_PROPERTY)) {
        icalproperty_set_tzid(tzid, name.c_str());
    }
    icalcomponent_add_component(calendar, copy);
    return {zone, name};
}

icalproperty* WithZone(icalproperty* property, const ExportZone& zone) {
    if (!zone.Tzid.empty()) {
        icalproperty_add_parameter(property, icalparameter_new_tzid(zone.Tzid.c_str()));
    }
    return property;
}

icaltimetype TimeOf(std::int64_t dayOffset, std::int32_t minute, const ExportZone& zone) {
    icaltimetype time = ical::DateOf(dayOffset + minute / kMinutesPerDay);
    time.is_date = 0;
    time.hour = minute % kMinutesPerDay / 60;
    time.minute = minute % 60;
    time.second = 0;
    if (zone.Zone != nullptr && zone.Tzid.empty()) {
        time = icaltime_set_timezone(&time, zone.Zone);
    }
    return time;
}

} // namespace

std::string NewExportId() {
    std::random_device random;
    std::string id;
    for (int part = 0; part < 4; ++part) {
        std::array<char, 9> text{};
        std::snprintf(text.data(), text.size(), "%08x", static_cast<unsigned>(random()));
        id += text.data();
    }
    return id;
}

std::string CalendarToICalendar(const cCalendar& calendar, const std::vector<std::string>& dayTypeNames,
                                const ICalendarExport& options) {
    const Component document = NewCalendar();
    for (std::int32_t day = 0; day < kCalendarDays; ++day) {
        const std::int16_t code = calendar.GetDayType(day);
        if (code == 0) {
            continue;
        }
        const bool named =
            code >= 1 && code <= kDayTypeCount && static_cast<std::size_t>(code - 1) < dayTypeNames.size();
        const std::string name = named ? dayTypeNames[static_cast<std::size_t>(code - 1)]
                                       : "Day-type code " + std::to_string(code);
        icalcomponent* event = NewEvent(document.get(), "date-" + DateText(day), options);
        icalcomponent_add_property(event, icalproperty_new_dtstart(ical::DateOf(day)));
        icalcomponent_add_property(event, icalproperty_new_dtend(ical::DateOf(day + 1)));
        icalcomponent_add_property(event, icalproperty_new_summary(CleanText(name).c_str()));
        icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    }
    return ical::TextOf(document.get());
}

std::string ScheduleToICalendar(const cTimeSchedule& schedule, std::string_view summary,
                                const ICalendarExport& options) {
    const std::int64_t monday = DayOffsetOf(kFirstYear, 1, 1);
    const Component document = NewCalendar();
    const ExportZone zone = ZoneOf(document.get(), options.TimeZone);
    const std::string text = CleanText(summary);
    icalrecurrencetype weekly{};
    icalrecurrencetype_clear(&weekly);
    weekly.freq = ICAL_WEEKLY_RECURRENCE;
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
            icalcomponent* event =
                NewEvent(document.get(), "day" + std::to_string(dayType) + "-period" + std::to_string(number),
                         options);
            icalcomponent_add_property(
                event, WithZone(icalproperty_new_dtstart(TimeOf(monday + dayType, start, zone)), zone));
            icalcomponent_add_property(
                event, WithZone(icalproperty_new_dtend(TimeOf(monday + dayType, stop, zone)), zone));
            icalcomponent_add_property(event, icalproperty_new_rrule(weekly));
            icalcomponent_add_property(event, icalproperty_new_summary(text.c_str()));
        }
    }
    return ical::TextOf(document.get());
}

} // namespace velmar
