#pragma once

// How a host shows an editor component's picture to a person: at a zoom of
// 1 to 4 screen pixels per picture pixel, in a window no larger than the
// screen. The components keep drawing and hit-testing in their own pixels;
// the host maps between the two.

namespace velmar {

constexpr int kSmallestZoom = 1;
constexpr int kLargestZoom = 4;

// The largest zoom at which a picture `pictureWidth` pixels wide fits into
// `areaWidth` screen pixels; the smallest zoom when none fits.
int FittingZoom(int pictureWidth, int areaWidth);

// The zoom `steps` steps from `zoom` (negative: smaller), kept within 1 to 4.
int SteppedZoom(int zoom, int steps);

// The zoom steps a turn of the mouse wheel asks for: one per notch (120
// eighths of a degree). A touchpad turns in parts of a notch: `pending` keeps
// what is not yet a whole notch, in either direction, for the next turn.
int WheelZoomSteps(int& pending, int angleDelta);

// A position in screen pixels of the shown picture as a position in the
// picture's own pixels. The fraction is kept: the components round themselves.
double PicturePosition(double screenPosition, int zoom);

// The size of a window that wants `wanted` pixels on a screen whose available
// area is `available` (both in the screen's logical pixels): never larger
// than the area in either direction.
struct WindowSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const WindowSize&) const = default;
};
WindowSize FittedWindowSize(WindowSize wanted, WindowSize available);

} // namespace velmar
