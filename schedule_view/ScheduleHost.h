#pragma once

// How the schedule components read what a host returns. A host that answers a
// name but returns nothing gives an empty value; the components treat it as 0
// (and as false, and as an empty text), so a host that answers every name and
// ignores the values still lets the schedule be edited.

#include "common/Errors.h"
#include "platform/DrawingSurface.h"
#include "schedule_view/IScheduleHost.h"

namespace velmar::schedule_host {

// Nothing counts as the 16-bit 0; every other value as returned.
inline HostValue OrZero(const HostValue& value) {
    return HostIsNothing(value) ? HostValue(std::int16_t{0}) : value;
}

inline double Number(const HostValue& value) {
    return HostNumber(OrZero(value));
}

inline bool Truth(const HostValue& value) {
    return HostTruth(OrZero(value));
}

// a - b of two host numbers, integer when both are.
inline HostValue Difference(const HostValue& a, const HostValue& b) {
    return HostDifference(OrZero(a), OrZero(b));
}

// The drawing surface of an operation that draws; a missing one is an error at
// the first drawing step, as with any failing surface operation.
inline IDrawingSurface& Surface(IDrawingSurface* surface) {
    if (surface == nullptr) {
        throw InvalidArgumentError("the schedule view has no drawing surface");
    }
    return *surface;
}

} // namespace velmar::schedule_host
