#pragma once

// Geometry of the calendar's month view, shared by the painting, the hit test
// of the mouse and a host that marks a date box: six weeks by seven weekdays,
// Monday first, in pixels of the picture box.

namespace velmar::month {

constexpr int kGridLeft = 30;      // x of the Monday column; week numbers stand left of it
constexpr int kGridTop = 20;       // y of the first week; the headings stand above it
constexpr int kColumnWidth = 40;   // a date box is 40 wide ...
constexpr int kRowHeight = 25;     // ... and 25 high
constexpr int kColumns = 7;        // Monday to Sunday
constexpr int kRows = 6;           // weeks
constexpr int kBoxInnerWidth = 37; // the box's inside, from (x + 2, y + 2)
constexpr int kBoxInnerHeight = 22;
constexpr int kBoxInset = 2;
constexpr int kGridRight = kGridLeft + kColumnWidth * kColumns; // 310
constexpr int kGridBottom = kGridTop + kRowHeight * kRows;      // 170
// The month view fits in this many pixels.
constexpr int kViewWidth = 320;
constexpr int kViewHeight = 180;

// The top left corner of the box in column c (0 = Monday) and row r.
constexpr int BoxLeft(int column) {
    return kGridLeft + kColumnWidth * column;
}
constexpr int BoxTop(int row) {
    return kGridTop + kRowHeight * row;
}

} // namespace velmar::month
