#pragma once

// The values that cross the boundary between the editor components and the
// window that hosts them. The hosts' operations are typed (IScheduleHost,
// ICalendarHost), but what a "Get_" operation returns is dynamically typed, as
// the host holds it: a number of any width, a text, or nothing; and some
// numbers are handed back to the host exactly as it returned them.

#include <cstdint>
#include <string>
#include <variant>

namespace velmar {

// The kinds of value that cross the host boundary: nothing (no result, or no
// object), text, 16-bit and 32-bit integers (booleans are 16-bit -1/0), numbers
// as a host returned them, and references to a caller's 16-bit or 32-bit variable.
using HostValue = std::variant<std::monostate, std::string, std::int16_t, std::int32_t, double, std::int16_t*,
                               std::int32_t*>;

// Conversions the components apply to what a host returns. A text that is not a
// number, or nothing, raises InvalidArgumentError where a number is needed;
// out-of-range values raise OverflowError.
double HostNumber(const HostValue& value);
std::int16_t HostInt16(const HostValue& value);
std::int32_t HostInt32(const HostValue& value);
bool HostTruth(const HostValue& value);       // any non-zero number is true
std::string HostText(const HostValue& value); // numbers in plain decimal
bool HostIsNothing(const HostValue& value);
// The value a reference argument refers to at the moment of the call (nothing
// for a null reference); any other value as it is.
HostValue HostResolved(const HostValue& value);

// "a - b" of two numbers as hosts returned them: integer when both are integers.
HostValue HostDifference(const HostValue& a, const HostValue& b);

} // namespace velmar
