#pragma once

#include <ctime>
#include <string>

namespace velmar {

// The current local date and time of the system clock, broken down.
std::tm LocalNow();

// The local time of day now as HH:MM:SS.
std::string LocalClockText();

} // namespace velmar
