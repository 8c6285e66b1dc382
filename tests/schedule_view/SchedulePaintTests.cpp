// Painting: exact pixels of the grid, the bars, their edges and the marks, and
// the labels and images of the rows.

#include "common/Errors.h"
#include "tests/schedule_view/ScheduleFixtures.h"

#include <array>
#include <gtest/gtest.h>
#include <initializer_list>

namespace velmar::test {
namespace {

constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kHourGrey = Rgb(148, 148, 148);

Colour Band(int line) {
    return Rgb(220 - 7 * line, 220 - 7 * line, 220 - 7 * line);
}
Colour Bar(int line, bool selected = false) {
    return Rgb(0, 240 - 7 * line - (selected ? 64 : 0), 0);
}

// Band top of a row.
int Top(int row) {
    return 25 * row + 4;
}

TEST(Paint, GridLinesSeparatorsAndEmptyBands) {
    Editor e(ScheduleBuilder{});
    const auto& s = e.Surface;
    for (int h = 0; h <= 24; ++h) {
        EXPECT_EQ(s.Pixel(30 + 12 * h, 0), kHourGrey) << h;
        EXPECT_EQ(s.Pixel(30 + 12 * h, 172), kHourGrey) << h;
    }
    EXPECT_EQ(s.Pixel(318, 174), kHourGrey); // the border runs to rows * 25 - 1
    EXPECT_EQ(s.Pixel(31, 0), kBackground);
    EXPECT_EQ(s.Pixel(30, 176), kBackground); // the hour lines end with the last row
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(s.Pixel(30, 25 * row + 24), kBlack) << row;
        EXPECT_EQ(s.Pixel(317, 25 * row + 24), kBlack) << row;
        EXPECT_EQ(s.Pixel(318, 25 * row + 24), kHourGrey) << row; // the separator ends before the border
        EXPECT_EQ(s.Pixel(100, 25 * row + 25), kWhite) << row;
        for (int line = 0; line < 15; ++line) {
            ASSERT_EQ(s.Pixel(100, Top(row) + line), Band(line)) << row << "/" << line;
        }
        EXPECT_EQ(s.Pixel(100, Top(row) - 1), kBackground);
        EXPECT_EQ(s.Pixel(100, Top(row) + 15), kBackground);
        // The band covers 30..317, hour lines included; the border stays.
        EXPECT_EQ(s.Pixel(30, Top(row)), Band(0));
        EXPECT_EQ(s.Pixel(317, Top(row)), Band(0));
        EXPECT_EQ(s.Pixel(318, Top(row)), kHourGrey);
    }
    EXPECT_EQ(Band(14), Rgb(122, 122, 122));
    EXPECT_EQ(s.Pixel(29, Top(0)), kBackground);
}

TEST(Paint, SevenToSixteenBarWithEdgesAndGradient) {
    Editor e(ScheduleBuilder().Period(2, 420, 960));
    const auto& s = e.Surface;
    const int top = Top(2);
    for (int line = 0; line < 15; ++line) {
        EXPECT_EQ(s.Pixel(113, top + line), Band(line)) << line;
        EXPECT_EQ(s.Pixel(114, top + line), kBlack) << line;
        EXPECT_EQ(s.Pixel(115, top + line), Bar(line)) << line;
        EXPECT_EQ(s.Pixel(221, top + line), Bar(line)) << line;
        EXPECT_EQ(s.Pixel(222, top + line), kBlack) << line;
        EXPECT_EQ(s.Pixel(223, top + line), Band(line)) << line;
    }
    EXPECT_EQ(Bar(14), Rgb(0, 142, 0));
    // The edges are 15 lines high, no more.
    EXPECT_EQ(s.Pixel(114, top - 1), kHourGrey);
    EXPECT_EQ(s.Pixel(114, top + 15), kHourGrey);
}

TEST(Paint, BarEndsForWholeDaysAndOnePixelPeriods) {
    struct Case {
        const char* what;
        std::int16_t start, stop;
        int leftEdge, rightEdge;
    };
    const auto cases = std::to_array<Case>({
        {"0 to 1439", 0, 1439, 30, 318},    // 1440 / 5 = 288
        {"0 to 1440", 0, 1440, 30, 318},    // 1441 / 5 = 288.2
        {"start = stop = 0", 0, 0, 30, 30}, // 1 / 5 = 0.2
        {"start = stop = 2", 2, 2, 30, 31}, // 2 / 5 = 0.4, 3 / 5 = 0.6
        {"12 to 17", 12, 17, 32, 34},       // 2.4 and 3.6
        {"37 to 42", 37, 42, 37, 39},       // 7.4 and 8.6
    });
    for (const auto& c : cases) {
        Editor e(ScheduleBuilder().Period(0, c.start, c.stop));
        const auto& s = e.Surface;
        const int top = Top(0);
        for (int line = 0; line < 15; ++line) {
            EXPECT_EQ(s.Pixel(c.leftEdge, top + line), kBlack) << c.what;
            EXPECT_EQ(s.Pixel(c.rightEdge, top + line), kBlack) << c.what;
            if (c.rightEdge > c.leftEdge + 1) {
                EXPECT_EQ(s.Pixel(c.leftEdge + 1, top + line), Bar(line)) << c.what;
                EXPECT_EQ(s.Pixel(c.rightEdge - 1, top + line), Bar(line)) << c.what;
            }
            if (c.rightEdge < 317) {
                EXPECT_EQ(s.Pixel(c.rightEdge + 1, top + line), Band(line)) << c.what;
            }
            if (c.leftEdge > 30) {
                EXPECT_EQ(s.Pixel(c.leftEdge - 1, top + line), Band(line)) << c.what;
            }
        }
    }
}

TEST(Paint, SelectedPeriodIsDarkerAndLaterPeriodsCoverEarlierOnes) {
    Editor e(ScheduleBuilder().Period(0, 420, 960).Period(0, 900, 1000));
    e.Click(Editor::X(600), Editor::Y(0)); // selects, then the release merges and repaints
    const auto& s = e.Surface;
    ASSERT_EQ(Times(e.Schedule, 0), (std::vector<std::pair<int, int>>{{420, 1000}}));
    for (int line = 0; line < 15; ++line) {
        EXPECT_EQ(s.Pixel(150, Top(0) + line), Bar(line, true)) << line;
    }
    EXPECT_EQ(Bar(14, true), Rgb(0, 78, 0));
    // Before the merge, the second period lay over the first one's stop edge.
    Editor overlap(ScheduleBuilder().Period(0, 420, 960).Period(0, 900, 1000));
    EXPECT_EQ(overlap.Surface.Pixel(30 + 192, Top(0)), Bar(0)); // 961 / 5 -> 192
    EXPECT_EQ(overlap.Surface.Pixel(30 + 180, Top(0)), kBlack); // 900 / 5
}

TEST(Paint, GroupMarkIsATriangleInTheTopRightCorner) {
    Editor e(ScheduleBuilder().Grouped(3));
    const auto& s = e.Surface;
    const int top = Top(3);
    const auto marks = std::to_array<Colour>(
        {Rgb(255, 255, 255), Rgb(245, 245, 245), Rgb(235, 235, 235), Rgb(225, 225, 225), Rgb(205, 205, 205)});
    for (int k = 0; k < 5; ++k) {
        const int width = 5 - k;
        EXPECT_EQ(s.Pixel(317, top + k), marks[k]) << k;
        EXPECT_EQ(s.Pixel(318 - width, top + k), marks[k]) << k;
        EXPECT_EQ(s.Pixel(317 - width, top + k), Band(k)) << k;
    }
    EXPECT_EQ(s.Pixel(317, top + 5), Band(5));
    EXPECT_EQ(s.Pixel(317, Top(2)), Band(0)); // Thursday only
}

TEST(Paint, GroupMarkLiesOverAWholeDayBar) {
    Editor e(ScheduleBuilder().Grouped(0).Period(0, 0, 1440));
    EXPECT_EQ(e.Surface.Pixel(317, Top(0)), kWhite);
    EXPECT_EQ(e.Surface.Pixel(313, Top(0) + 4), Bar(4));
    EXPECT_EQ(e.Surface.Pixel(318, Top(0)), kBlack);
}

TEST(PaintDayTypeRow, RestoresItsOwnSegmentOfTheRightBorder) {
    Editor e(ScheduleBuilder().Period(0, 0, 1440).Period(2, 0, 1440));
    auto& s = e.Surface;
    ASSERT_EQ(s.Pixel(318, Top(2)), kBlack);
    // Wednesday's period shortened from 24:00 through the time boxes.
    e.Click(Editor::X(600), Editor::Y(2));
    e.Host.StartText = "00:00";
    e.Host.StopText = "10:00";
    e.View.ExtractTimeFromTextboxes(e.Host, e.SurfaceVariable);
    for (int y = 50; y <= 74; ++y) {
        EXPECT_EQ(s.Pixel(318, y), kHourGrey) << y;
    }
    // Monday's black edge is Monday's own: untouched by Wednesday's repaint.
    EXPECT_EQ(s.Pixel(318, Top(0)), kBlack);
    EXPECT_EQ(s.Pixel(318, 49), kHourGrey);
    EXPECT_EQ(s.Pixel(318, 75), kHourGrey);
    const auto lines = s.OperationsOf(SurfaceOperation::Kind::Line);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().Describe(), "Line(318,50,318,75,#949494)");
}

TEST(PaintDayTypeRow, LabelsOfWeekdaysAndLongNamesFromTheCheckBox) {
    DayTypeNamesScope names;
    for (const std::int16_t check : std::initializer_list<std::int16_t>{0, 1, -1}) {
        Editor e(ScheduleBuilder{});
        e.Host.ViewDayType = check;
        e.View.Paint(e.Host, e.SurfaceVariable);
        const auto prints = e.Surface.OperationsOf(SurfaceOperation::Kind::Print);
        ASSERT_EQ(prints.size(), check == 0 ? 7u : 14u) << check;
        // TextHeight 13: CurrentY = top + (15 - 13) / 2; "Mon" is 18 wide: x = 30 - 18 - 2.
        EXPECT_EQ(prints[0].Text, "Mon");
        EXPECT_EQ(prints[0].X1, 10.0);
        EXPECT_EQ(prints[0].Y1, 5.0);
        if (check != 0) {
            // "Day type 0" is 60 wide: x = (288 - 60) / 2 + 30.
            EXPECT_EQ(prints[1].Text, "Day type 0");
            EXPECT_EQ(prints[1].X1, 144.0);
            EXPECT_EQ(prints[1].Y1, 5.0);
        }
        EXPECT_EQ(prints.back().Y1, 25.0 * 6 + 5);
    }
}

TEST(PaintDayTypeRow, FurtherDayTypesShowAnImageFromTheHostsList) {
    cTimeSchedule schedule;
    ScheduleBuilder b;
    for (int d = 1; d < 7; ++d) {
        b.Active(d, 0);
    }
    b.Active(7).Active(22).UseCalendar().Into(schedule);
    EditorHost host;
    RecordingSurface surface(324, 79, kBackground);
    IDrawingSurface* variable = nullptr;
    TimeScheduleView(schedule).RecalculateAndPrepareToPaint(host, variable, &surface);
    std::size_t hdcReadsAtWidth = 0;
    host.Answer("Get_ImageList_ImageWidth", [&](auto) {
        hdcReadsAtWidth = surface.OperationsOf(SurfaceOperation::Kind::ReadHDC).size();
        return HostValue(std::int16_t{14});
    });
    host.ClearCalls();
    TimeScheduleView(schedule).Paint(host, variable);
    EXPECT_EQ(hdcReadsAtWidth, 2u); // read before the width, for each of the two image rows
    const std::vector<std::string> rowCalls = {"Get_ImageList_ImageHeight", "Get_ImageList_ImageWidth",
                                               "Draw_ImageList_ListImages",
                                               "Get_Check_TimeSchedule_ViewDayType"};
    std::vector<std::string> expected = {"Get_Check_TimeSchedule_ViewDayType"}; // Monday
    expected.insert(expected.end(), rowCalls.begin(), rowCalls.end());
    expected.insert(expected.end(), rowCalls.begin(), rowCalls.end());
    EXPECT_EQ(host.CallNames(), expected);
    // Image d - 6 at x = 30 - 14 - 4, y = round(top + 0.5): 29.5 -> 30 (row 1), 54.5 -> 54 (row 2).
    const auto draws = host.ValuesOf("Draw_ImageList_ListImages");
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0],
              (std::vector<HostValue>{std::int32_t{1}, std::int32_t{RecordingSurface::kDeviceContext},
                                      std::int32_t{12}, std::int32_t{30}}));
    EXPECT_EQ(draws[1],
              (std::vector<HostValue>{std::int32_t{16}, std::int32_t{RecordingSurface::kDeviceContext},
                                      std::int32_t{12}, std::int32_t{54}}));
    // y goes as a reference to a 32-bit variable.
    const auto& call = host.Calls()[3];
    ASSERT_EQ(call.Name, "Draw_ImageList_ListImages");
    EXPECT_TRUE(std::holds_alternative<std::int32_t*>(call.Arguments[3]));
}

TEST(PaintDayTypeRow, ADayTypeNotInUseIsNotPaintedOverTheNextRow) {
    // Saturday is grouped but not in use; with the calendar it shares Sunday's row.
    Editor e(ScheduleBuilder().Active(5, 0).UseCalendar().Grouped(0).Period(0, 420, 960).Grouped(5), 154);
    ASSERT_EQ(e.Schedule.GetAxisIndex(5), 5);
    e.Click(Editor::X(600), Editor::Y(0)); // the release copies Monday's periods to Saturday
    EXPECT_EQ(Times(e.Schedule, 5), (std::vector<std::pair<int, int>>{{420, 960}}));
    EXPECT_EQ(e.Surface.Pixel(150, Top(5)), Band(0)); // Sunday's row shows Sunday
}

TEST(Paint, WithoutASurfaceDoesNothingWhileARowRepaintNeedsOne) {
    Editor e(ScheduleBuilder().Grouped(0).Grouped(1));
    e.View.Paint(e.Host, nullptr);
    EXPECT_TRUE(e.Host.Calls().empty());
    e.Down(Editor::X(600), Editor::Y(0), 2);
    EXPECT_THROW(e.View.Group(e.Host, nullptr), InvalidArgumentError);
}

TEST(Paint, MoreRowsThanTheSurfaceHoldsAreClippedNotAnError) {
    ScheduleBuilder b;
    for (int d = 0; d < kDayTypeCount; ++d) {
        b.Active(d).Period(d, 0, 1440);
    }
    Editor e(b); // no calendar: seven rows, 23 day types in use
    EXPECT_EQ(e.Schedule.m_NumberOfAxisToPaint, 7);
    EXPECT_EQ(e.Surface.Pixel(100, Top(6)), Bar(0));
}

} // namespace
} // namespace velmar::test
