#pragma once

// Geometry and colours of the schedule grid, shared by the layout pass, the
// painting and the hit test. Pixels of the drawing surface; r is a 0-based row.

#include "platform/DrawingSurface.h"

#include <array>
#include <cstdint>

namespace velmar::grid {

constexpr int kGridLeft = 30;              // x of 00:00; x = 0..29 is the label margin
constexpr int kGridWidth = 288;            // pixels for the 24 hours
constexpr int kGridRight = 318;            // x of 24:00, the grid's right border
constexpr int kHours = 24;                 // hour lines at kGridLeft + 12 * h, h = 0..24
constexpr int kMinutesPerPixel = 5;        // at scale 1
constexpr int kRowHeight = 25;             // row r spans y = 25r .. 25r + 24
constexpr int kBandOffset = 4;             // the band of row r starts at y = 25r + 4
constexpr int kBandLines = 15;             // the band is 15 pixel lines high
constexpr int kSeparatorOffset = 24;       // dark line at 25r + 24, light line just below
constexpr int kSurfaceExtraHeight = 4;     // surface height = rows * 25 + 4
constexpr int kWeekRows = 7;               // rows without a calendar; scroll max = (rows - 7) * 4
constexpr int kScrollStepsPerRow = 4;      // scroll-bar units per row
constexpr int kLabelGap = 2;               // a row label ends 2 pixels left of the grid
constexpr int kImageGap = 4;               // a row image ends 4 pixels left of the grid
constexpr int kWeekDayTypes = 7;           // day types 0..6 have text labels, 7..22 images
constexpr int kSelectedDarkening = 64;     // the selected period is 64 darker
constexpr int kGroupMarkLines = 5;         // the group triangle: 5, 4, 3, 2, 1 pixels wide
constexpr int kGroupMarkRight = 317;       // its right edge, inside the border
constexpr std::int16_t kLastMinute = 1440; // 24:00

// Mouse editing, in minutes.
constexpr int kEdgeReach = 15;    // a press less than 15 minutes from an edge grabs it
constexpr int kDrawThreshold = 6; // a new period appears 6 minutes from the press

// Hit-test answers besides a minute.
constexpr std::int32_t kRightOfGrid = -1;
constexpr std::int32_t kInLabelMargin = -2;
constexpr std::int32_t kOutsideRows = -3;

constexpr Colour kHourLine = Rgb(148, 148, 148);
constexpr Colour kDarkSeparator = Rgb(0, 0, 0);
constexpr Colour kLightSeparator = Rgb(255, 255, 255);
constexpr Colour kPeriodEdge = Rgb(0, 0, 0);
constexpr std::array<Colour, kGroupMarkLines> kGroupMark = {
    Rgb(255, 255, 255), Rgb(245, 245, 245), Rgb(235, 235, 235), Rgb(225, 225, 225), Rgb(205, 205, 205)};

constexpr int kBandTopGrey = 220;    // band line i: grey 220 - step * i
constexpr int kBandRange = 100;      // step = round(100 / 15) = 7
constexpr int kPeriodTopGreen = 240; // period line i: green 240 - step * i
constexpr int kPeriodRange = 108;    // step = round(108 / 15) = 7

constexpr int RowTop(int row) {
    return kRowHeight * row;
}
constexpr int BandTop(int row) {
    return kRowHeight * row + kBandOffset;
}

} // namespace velmar::grid
