#pragma once

// Pixel rasterisation shared by the surfaces that draw into a pixel buffer, so
// that every surface puts a line on exactly the same pixels: the start pixel is
// drawn, the end pixel is not (a line of length 0 draws nothing).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace velmar {

// A surface coordinate rounded to a whole pixel, halves to even, and kept within
// a range where pixel arithmetic cannot overflow. NaN gives false.
bool ToPixelCoordinate(double value, long long& pixel);

// Calls plot(x, y) for every pixel of the line from (x1, y1) to (x2, y2) that lies
// inside a width x height buffer. Horizontal and vertical lines are exact; other
// lines step along their longer axis and round the other coordinate.
template <typename Plot>
void ForEachLinePixel(long long x1, long long y1, long long x2, long long y2, long long width,
                      long long height, Plot&& plot) {
    const long long dx = x2 - x1;
    const long long dy = y2 - y1;
    if (dx == 0 && dy == 0) {
        return;
    }
    if (dy == 0) {
        if (y1 < 0 || y1 >= height) {
            return;
        }
        // Pixels from the start up to, not including, the end, in either direction.
        long long first = dx > 0 ? x1 : x2 + 1;
        long long last = dx > 0 ? x2 - 1 : x1;
        first = std::max(first, 0LL);
        last = std::min(last, width - 1);
        for (long long x = first; x <= last; ++x) {
            plot(x, y1);
        }
        return;
    }
    if (dx == 0) {
        if (x1 < 0 || x1 >= width) {
            return;
        }
        long long first = dy > 0 ? y1 : y2 + 1;
        long long last = dy > 0 ? y2 - 1 : y1;
        first = std::max(first, 0LL);
        last = std::min(last, height - 1);
        for (long long y = first; y <= last; ++y) {
            plot(x1, y);
        }
        return;
    }
    // Step t = 0 .. steps-1 along the longer axis; the end point (t = steps) is left out.
    const bool alongX = std::llabs(dx) >= std::llabs(dy);
    const long long steps = alongX ? std::llabs(dx) : std::llabs(dy);
    const long long majorStart = alongX ? x1 : y1;
    const long long majorDir = (alongX ? dx : dy) > 0 ? 1 : -1;
    const long long majorLimit = alongX ? width : height;
    // Only the steps whose major coordinate lies inside the buffer can plot anything.
    long long tFirst = 0;
    long long tLast = steps - 1;
    if (majorDir > 0) {
        tFirst = std::max(tFirst, -majorStart);
        tLast = std::min(tLast, majorLimit - 1 - majorStart);
    } else {
        tFirst = std::max(tFirst, majorStart - (majorLimit - 1));
        tLast = std::min(tLast, majorStart);
    }
    for (long long t = tFirst; t <= tLast; ++t) {
        const double fraction = static_cast<double>(t) / static_cast<double>(steps);
        const long long x =
            alongX ? x1 + majorDir * t
                   : x1 + static_cast<long long>(std::floor(static_cast<double>(dx) * fraction + 0.5));
        const long long y =
            alongX ? y1 + static_cast<long long>(std::floor(static_cast<double>(dy) * fraction + 0.5))
                   : y1 + majorDir * t;
        if (x >= 0 && x < width && y >= 0 && y < height) {
            plot(x, y);
        }
    }
}

// The pixels of a line in surface coordinates (rounded to whole pixels first; a
// coordinate that is not a number draws nothing) as runs on one pixel row:
// run(y, first, end) covers the
// pixels first..end-1 of row y. A horizontal line is one run, so a surface can
// fill it straight into its row; any other line comes as runs of one pixel.
template <typename Run>
void ForEachSurfaceLineRun(double x1, double y1, double x2, double y2, long long width, long long height,
                           Run&& run) {
    long long px1 = 0;
    long long py1 = 0;
    long long px2 = 0;
    long long py2 = 0;
    if (!ToPixelCoordinate(x1, px1) || !ToPixelCoordinate(y1, py1) || !ToPixelCoordinate(x2, px2) ||
        !ToPixelCoordinate(y2, py2)) {
        return;
    }
    if (py1 == py2) {
        if (px1 == px2 || py1 < 0 || py1 >= height) {
            return;
        }
        // Pixels from the start up to, not including, the end, in either direction.
        const long long first = std::max(px2 > px1 ? px1 : px2 + 1, 0LL);
        const long long end = std::min(px2 > px1 ? px2 : px1 + 1, width);
        if (first < end) {
            run(py1, first, end);
        }
        return;
    }
    ForEachLinePixel(px1, py1, px2, py2, width, height,
                     [&run](long long x, long long y) { run(y, x, x + 1); });
}

// Whole pixels [Left, Right) x [Top, Bottom) of a buffer.
struct PixelRect {
    long long Left = 0;
    long long Top = 0;
    long long Right = 0;
    long long Bottom = 0;
};

// The part of the surface rectangle at (x, y), `w` by `h`, that lies in a width x
// height buffer. False when a coordinate is not a number or nothing is inside.
bool ClipRectangle(double x, double y, double w, double h, long long width, long long height,
                   PixelRect& rect);

} // namespace velmar
