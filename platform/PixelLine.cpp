#include "platform/PixelLine.h"

#include "common/Numeric.h"

namespace velmar {

bool ToPixelCoordinate(double value, long long& pixel) {
    if (std::isnan(value)) {
        return false;
    }
    // Far beyond any surface, yet small enough that differences of two never overflow.
    constexpr double kLimit = 1e15;
    const double limited = std::clamp(value, -kLimit, kLimit);
    // Most coordinates the components pass are whole already.
    const auto whole = static_cast<long long>(limited);
    pixel = static_cast<double>(whole) == limited ? whole : static_cast<long long>(RoundHalfEven(limited));
    return true;
}

bool ClipRectangle(double x, double y, double w, double h, long long width, long long height,
                   PixelRect& rect) {
    long long left = 0;
    long long top = 0;
    long long pw = 0;
    long long ph = 0;
    if (!ToPixelCoordinate(x, left) || !ToPixelCoordinate(y, top) || !ToPixelCoordinate(w, pw) ||
        !ToPixelCoordinate(h, ph)) {
        return false;
    }
    rect.Left = std::max(left, 0LL);
    rect.Top = std::max(top, 0LL);
    rect.Right = std::min(left + pw, width);
    rect.Bottom = std::min(top + ph, height);
    return rect.Right > rect.Left && rect.Bottom > rect.Top;
}

} // namespace velmar
