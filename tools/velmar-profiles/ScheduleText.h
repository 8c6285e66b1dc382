#pragma once

#include <iosfwd>

namespace velmar {
class cTimeSchedule;
}

namespace velmar::tool {

// Prints a schedule as text: a line "schedule:", its use-calendar value, and one
// line per day type 0..22 with its in-use and grouped values, its grid row and
// its periods in stored order ("07:00-16:00", "none" without periods). Values
// are printed as stored; a time outside 0..1440 is printed as its number.
void PrintSchedule(std::ostream& out, const cTimeSchedule& schedule);

} // namespace velmar::tool
