#include "common/Numeric.h"

#include "common/Errors.h"

#include <cmath>
#include <limits>
#include <string>

namespace velmar {

namespace {

template <typename T> T CheckedNarrow(long long value, std::string_view what) {
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max()) {
        throw OverflowError(std::string(what) + " " + std::to_string(value) + " does not fit");
    }
    return static_cast<T>(value);
}

template <typename T> T CheckedRound(double value, std::string_view what) {
    if (!std::isfinite(value)) {
        throw OverflowError(std::string(what) + " is not a finite number");
    }
    const double rounded = RoundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<T>::max())) {
        throw OverflowError(std::string(what) + " " + std::to_string(value) + " does not fit");
    }
    return static_cast<T>(rounded);
}

} // namespace

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction < 0.5) {
        return floor;
    }
    if (fraction > 0.5) {
        return floor + 1;
    }
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::int16_t ToInt16(long long value, std::string_view what) {
    return CheckedNarrow<std::int16_t>(value, what);
}

std::int32_t ToInt32(long long value, std::string_view what) {
    return CheckedNarrow<std::int32_t>(value, what);
}

std::int16_t RoundToInt16(double value, std::string_view what) {
    return CheckedRound<std::int16_t>(value, what);
}

std::int32_t RoundToInt32(double value, std::string_view what) {
    return CheckedRound<std::int32_t>(value, what);
}

} // namespace velmar
