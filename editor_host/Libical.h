#pragma once

// Owners of libical's objects and the conversions between its times and day
// offsets, for the iCalendar import and exports.

#include "platform/DateServices.h"

#include <cstdint>
#include <libical/ical.h>
#include <memory>
#include <string>

namespace velmar::ical {

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
struct ParserFree {
    void operator()(icalparser* parser) const { icalparser_free(parser); }
};
struct IteratorFree {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};

using Component = std::unique_ptr<icalcomponent, ComponentFree>;
using Parser = std::unique_ptr<icalparser, ParserFree>;
using Iterator = std::unique_ptr<icalrecur_iterator, IteratorFree>;

// The text of a component, as libical writes it.
inline std::string TextOf(icalcomponent* component) {
    char* text = icalcomponent_as_ical_string_r(component);
    std::string result = text != nullptr ? text : "";
    icalmemory_free_buffer(text);
    return result;
}

// The date of a day offset as a libical date.
inline icaltimetype DateOf(std::int64_t dayOffset) {
    const CivilDate date = DateOfDayOffset(dayOffset);
    icaltimetype time = icaltime_null_date();
    time.year = static_cast<int>(date.Year);
    time.month = date.Month;
    time.day = date.Day;
    return time;
}

// The day offset of a libical date or date-time (its date; the time of day
// is not looked at).
inline std::int64_t DayOffsetOfTime(const icaltimetype& time) {
    return DayOffsetOf(time.year, time.month, time.day);
}

} // namespace velmar::ical
