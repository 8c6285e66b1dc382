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

namespace detail {
// A time broken down in the local time zone and in UTC, by the system's
// thread-safe calls (LocalTimePosix.cpp, LocalTimeWindows.cpp).
std::tm LocalAt(std::time_t time);
std::tm UtcAt(std::time_t time);
} // namespace detail

} // namespace velmar
