#include "platform/PixelLine.h"

#include "common/Numeric.h"

namespace velmar {

bool ToPixelCoordinate(double value, long long& pixel) {
    if (std::isnan(value)) {
        return false;
    }
    // Far beyond any surface, yet small enough that differences of two never overflow.
    constexpr double kLimit = 1e15;
    pixel = static_cast<long long>(RoundHalfEven(std::clamp(value, -kLimit, kLimit)));
    return true;
}

} // namespace velmar
