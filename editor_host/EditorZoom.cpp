#include "editor_host/EditorZoom.h"

#include <algorithm>

namespace velmar {

int FittingZoom(int pictureWidth, int areaWidth) {
    if (pictureWidth <= 0) {
        return kSmallestZoom;
    }
    return std::clamp(areaWidth / pictureWidth, kSmallestZoom, kLargestZoom);
}

int SteppedZoom(int zoom, int steps) {
    const long long stepped = static_cast<long long>(std::clamp(zoom, kSmallestZoom, kLargestZoom)) + steps;
    return static_cast<int>(std::clamp<long long>(stepped, kSmallestZoom, kLargestZoom));
}

int WheelZoomSteps(int& pending, int angleDelta) {
    constexpr long long kNotch = 120;
    // Far more than any zoom needs, and no overflow whatever the deltas.
    constexpr long long kMostPending = 16 * kNotch;
    const long long turned =
        std::clamp<long long>(static_cast<long long>(pending) + angleDelta, -kMostPending, kMostPending);
    const long long notches = turned / kNotch;
    pending = static_cast<int>(turned - notches * kNotch);
    return static_cast<int>(notches);
}

double PicturePosition(double screenPosition, int zoom) {
    return screenPosition / static_cast<double>(std::clamp(zoom, kSmallestZoom, kLargestZoom));
}

WindowSize FittedWindowSize(WindowSize wanted, WindowSize available) {
    const auto fit = [](int want, int room) { return room > 0 ? std::min(want, room) : want; };
    return {fit(wanted.Width, available.Width), fit(wanted.Height, available.Height)};
}

} // namespace velmar
