#pragma once

// Late-bound calls from the editor components to the window that hosts them.
// A component never knows the host's type: it calls an operation by name with
// zero to five dynamically typed arguments, and "Get_" names return a value.

#include "common/HostCallbacks.h"

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
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

// A host object: a table of the names it answers. A call of a name it does not
// answer, or a handler that throws, raises HostCallError at the call.
class HostWindow {
public:
    using Arguments = std::span<const HostValue>;
    using Handler = std::function<HostValue(Arguments)>;

    virtual ~HostWindow() = default;

    // Registers (or replaces) the handler of one name.
    void Answer(std::string name, Handler handler);
    bool Answers(std::string_view name) const;

    // Calls `name` with up to five arguments; InvalidArgumentError for more.
    HostValue Call(std::string_view name, std::initializer_list<HostValue> arguments = {});
    HostValue Call(std::string_view name, Arguments arguments);
    // Calls a name of the components' contract. Arguments that do not fit the
    // contract (too few, too many, of another kind) raise InvalidArgumentError
    // before the host sees the call.
    HostValue Call(const HostCallback& callback, std::initializer_list<HostValue> arguments = {});

protected:
    // Sees every call before it is dispatched.
    virtual void Observe(std::string_view name, Arguments arguments);
    // Answers a name that has no handler; returns false when the host does not answer it.
    virtual bool Fallback(std::string_view name, Arguments arguments, HostValue& result);

private:
    std::map<std::string, Handler, std::less<>> m_Handlers;
};

} // namespace velmar
