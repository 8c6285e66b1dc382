#pragma once

#include <ctime>
#include <string>

namespace velmar {

// The current local date and time of the system clock, broken down.
std::tm LocalNow();

// The local time of day now as HH:MM:SS.
std::string LocalClockText();

// The local date and time now in ISO 8601 with the offset from UTC:
// 2025-06-01T14:05:09+02:00.
std::string LocalTimestampText();

} // namespace velmar
