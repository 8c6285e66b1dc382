// The mapping between an editor's picture and the screen: the zoom a tab
// starts at, its steps, the wheel, mouse positions and the window's size.

#include "editor_host/EditorZoom.h"

#include <climits>
#include <gtest/gtest.h>

namespace velmar::test {
namespace {

TEST(EditorZoom, TheLargestZoomThatFitsTheWidthAtLeastOneAtMostFour) {
    struct Case {
        int Picture;
        int Area;
        int Zoom;
    };
    for (const Case& c : {
             Case{320, 1900, 4}, // a 1920-pixel screen shows the grid four times as large
             Case{320, 1280, 4},
             Case{320, 1279, 3},
             Case{320, 960, 3},
             Case{320, 959, 2},
             Case{320, 640, 2},
             Case{320, 639, 1},
             Case{320, 100, 1}, // nothing fits: 1, and the picture scrolls
             Case{320, 0, 1},
             Case{320, -5, 1},
             Case{0, 800, 1}, // no picture yet
             Case{1, INT_MAX, 4},
         }) {
        EXPECT_EQ(FittingZoom(c.Picture, c.Area), c.Zoom) << c.Picture << " in " << c.Area;
    }
}

TEST(EditorZoom, StepsStayWithinOneToFour) {
    struct Case {
        int Zoom;
        int Steps;
        int Stepped;
    };
    for (const Case& c :
         {Case{1, 1, 2}, Case{3, 1, 4}, Case{4, 1, 4}, Case{4, -1, 3}, Case{1, -1, 1}, Case{2, 10, 4},
          Case{2, -10, 1}, Case{2, INT_MAX, 4}, Case{2, INT_MIN, 1}, Case{0, 0, 1}, Case{9, 0, 4}}) {
        EXPECT_EQ(SteppedZoom(c.Zoom, c.Steps), c.Stepped) << c.Zoom << " + " << c.Steps;
    }
}

TEST(EditorZoom, TheWheelStepsOncePerNotchAndKeepsTheParts) {
    int pending = 0;
    EXPECT_EQ(WheelZoomSteps(pending, 120), 1);
    EXPECT_EQ(pending, 0);
    EXPECT_EQ(WheelZoomSteps(pending, -240), -2);
    EXPECT_EQ(WheelZoomSteps(pending, 0), 0);
    // A touchpad: four turns of 40 make one step and leave 40.
    int steps = 0;
    for (int i = 0; i < 4; ++i) {
        steps += WheelZoomSteps(pending, 40);
    }
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(pending, 40);
    EXPECT_EQ(WheelZoomSteps(pending, -100), 0);
    EXPECT_EQ(pending, -60);
    // Huge turns step a bounded number of times and never overflow.
    pending = 0;
    EXPECT_GT(WheelZoomSteps(pending, INT_MAX), 3);
    EXPECT_LT(WheelZoomSteps(pending, INT_MIN), -3);
}

TEST(EditorZoom, AScreenPositionIsDividedByTheZoomKeepingTheFraction) {
    EXPECT_DOUBLE_EQ(PicturePosition(30, 3), 10.0);
    EXPECT_DOUBLE_EQ(PicturePosition(31, 3), 31.0 / 3.0);
    EXPECT_DOUBLE_EQ(PicturePosition(7, 2), 3.5);
    EXPECT_DOUBLE_EQ(PicturePosition(7, 1), 7.0);
    EXPECT_DOUBLE_EQ(PicturePosition(-6, 4), -1.5);
    EXPECT_DOUBLE_EQ(PicturePosition(8, 0), 8.0); // never a division by zero
}

TEST(EditorZoom, AWindowIsNeverLargerThanTheAvailableArea) {
    // At a scale factor of 2 a 1280 x 800 screen is 640 x 400 logical pixels,
    // less a panel.
    EXPECT_EQ(FittedWindowSize({560, 480}, {640, 376}), (WindowSize{560, 376}));
    EXPECT_EQ(FittedWindowSize({560, 480}, {1920, 1040}), (WindowSize{560, 480}));
    EXPECT_EQ(FittedWindowSize({2000, 2000}, {1280, 800}), (WindowSize{1280, 800}));
    // No screen known: as wanted.
    EXPECT_EQ(FittedWindowSize({560, 480}, {0, 0}), (WindowSize{560, 480}));
}

} // namespace
} // namespace velmar::test
