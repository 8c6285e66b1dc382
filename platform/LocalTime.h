#pragma once

#include <ctime>

namespace velmar {

// The current local date and time of the system clock, broken down.
std::tm LocalNow();

} // namespace velmar
