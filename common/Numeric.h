#pragma once

#include <cstdint>
#include <string_view>

namespace velmar {

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4),
// the rule of every floating-point to integer conversion in the system.
double RoundHalfEven(double value);

// Checked narrowing: raise OverflowError when the value does not fit. `what`
// names the quantity in the error text.
std::int16_t ToInt16(long long value, std::string_view what = "16-bit value");
std::int32_t ToInt32(long long value, std::string_view what = "32-bit value");

// Round half to even, then narrow with the same overflow check. NaN and
// infinities overflow as well.
std::int16_t RoundToInt16(double value, std::string_view what = "16-bit value");
std::int32_t RoundToInt32(double value, std::string_view what = "32-bit value");

// Truth values are 16-bit: -1 true, 0 false.
constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;
constexpr std::int16_t ToTruth(bool value) {
    return value ? kTrue : kFalse;
}

} // namespace velmar
