#pragma once

// The encoding of one 16-bit value in a schedule's text form
// (cTimeSchedule::ComposePeriodArray / ExtractPeriodArray): two characters,
// each carrying one byte, high byte first, unlike the little-endian file record.

#include <cstdint>
#include <string>

namespace velmar {

// 420 gives the characters 1 and 164; -1 gives 255 and 255.
std::string IntegerToChars(std::int16_t value);

// c1 * 256 + c2, with bit 15 as the sign.
std::int16_t CharsToInteger(char high, char low);

} // namespace velmar
