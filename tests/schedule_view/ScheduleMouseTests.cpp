// Mouse editing: the hit test, selecting, grabbing and dragging edges, drawing
// new periods, the release, and the popup menu states of a right press.

#include "common/Errors.h"
#include "tests/schedule_view/ScheduleFixtures.h"

#include <array>
#include <gtest/gtest.h>
#include <limits>
#include <set>

namespace velmar::test {
namespace {

using Times_t = std::vector<std::pair<int, int>>;

TEST(GetMinuteAtPosition, MinuteAndTimeTextUnderThePointer) {
    struct Case {
        float x, y;
        const char* time; // nullptr: off the grid, the time field is not updated
    };
    const auto cases = std::to_array<Case>({
        {30, 5, "00:00"},
        {31, 5, "00:05"},
        {114, 100, "07:00"},
        {318, 5, "24:00"},
        {318.9F, 5, "24:00"}, // would be 24:05; the day ends at 24:00
        {318.5F, 174, "24:00"},
        {319, 5, nullptr},
        {400, 5, nullptr},
        {29, 5, nullptr},
        {29.9F, 5, nullptr},
        {-3, 5, nullptr},
        {100, 4, nullptr},
        {100, 4.5F, "05:50"},
        {100, 175, nullptr},
        {100, 174.9F, "05:50"},
        {100, -1, nullptr},
        {31.5F, 5, "00:08"}, // 7.5 minutes
        {30.5F, 5, "00:02"}, // 2.5 minutes: halves to even
        {30.7F, 5, "00:04"},
        {std::numeric_limits<float>::quiet_NaN(), 5, nullptr},
        {100, std::numeric_limits<float>::quiet_NaN(), nullptr},
    });
    for (const auto& c : cases) {
        Editor e(ScheduleBuilder{});
        e.Move(c.x, c.y);
        const auto texts = e.Host.ValuesOf("Set_Text_Schedule_Time");
        if (c.time == nullptr) {
            EXPECT_TRUE(texts.empty()) << c.x << "," << c.y;
        } else {
            ASSERT_EQ(texts.size(), 1u) << c.x << "," << c.y;
            EXPECT_EQ(texts[0], std::vector<HostValue>{HostValue(std::string(c.time))}) << c.x << "," << c.y;
        }
    }
}

TEST(GetMinuteAtPosition, RowsRoundSoTheBandsLowestLinesBelongToTheNextRow) {
    struct Case {
        float y;
        int dayType;
    };
    const auto cases = std::to_array<Case>({{5, 0},
                                            {16, 0},
                                            {16.5F, 0},
                                            {17, 1},
                                            {18, 1},
                                            {41, 1},
                                            {42, 2},
                                            {166, 6},
                                            {174, -1}}); // 174: row 7, which has no day type
    for (const auto& c : cases) {
        Editor e(ScheduleBuilder{});
        e.Down(100, c.y, 2);
        EXPECT_EQ(e.Schedule.SelectedDayType(), c.dayType) << c.y;
    }
}

TEST(GetMinuteAtPosition, BeforeTheFirstLayoutPassEveryPointIsOffTheGrid) {
    cTimeSchedule schedule;
    ScheduleBuilder().Period(0, 420, 960).Into(schedule);
    schedule.m_NumberOfAxisToPaint = 7; // rows set, scale still 0
    EditorHost host;
    RecordingSurface surface(324, 179);
    for (const float x : {10.0F, 100.0F, 400.0F}) {
        TimeScheduleView(schedule).MouseDown(host, &surface, 1, 0, x, 10);
        TimeScheduleView(schedule).MouseMove(host, &surface, 1, 0, x, 10);
        TimeScheduleView(schedule).MouseUp(host, &surface, 1, 0, x, 10);
    }
    EXPECT_TRUE(host.Calls().empty());
    EXPECT_EQ(schedule.SelectedDayType(), -1);
    EXPECT_EQ(schedule.DragMode(), 0);
}

TEST(MouseDown, ARowWithoutADayTypeOrAPressOffTheGridChangesNothing) {
    // Calendar in use with two day types: row 1 is Sunday; rows 2.. do not exist.
    Editor e(ScheduleBuilder().Active(1, 0).Active(2, 0).Active(3, 0).Active(4, 0).Active(5, 0).UseCalendar(),
             54);
    e.Down(100, 30);
    EXPECT_EQ(e.Schedule.SelectedDayType(), 6);
    e.Up(100, 30);
    e.Schedule.m_NumberOfAxisToPaint = 7; // a host that asks for more rows than there are
    e.Host.ClearCalls();
    e.Down(100, 60);
    EXPECT_EQ(e.Schedule.SelectedDayType(), 6);
    EXPECT_EQ(e.Schedule.DragMode(), 0);
    EXPECT_EQ(e.Host.CallNames(), (std::vector<std::string>{"Set_Text_Schedule_Time"}));
}

TEST(MouseDown, TheLowestLinesOfTheLastRowAreOffTheGrid) {
    // Without a calendar the grid shows seven rows; day type 7 is in use as a
    // file may have it, but it has no row that is drawn. The band of Sunday's
    // row spans y = 154 to 168, and from y = 166.5 on the rounding gives row 7.
    struct Case {
        float y;
        int dayType;
    };
    const auto cases = std::to_array<Case>({{154, 6}, {166, 6}, {167, -1}, {174, -1}});
    for (const auto& c : cases) {
        for (const std::int16_t button : {std::int16_t{1}, std::int16_t{2}}) {
            Editor e(ScheduleBuilder().Active(7).Period(7, 0, 1440));
            e.Down(Editor::X(600), c.y, button);
            e.Move(Editor::X(800), c.y);
            e.Up(Editor::X(800), c.y);
            EXPECT_EQ(e.Schedule.SelectedDayType(), c.dayType) << c.y << " button " << button;
            EXPECT_EQ(Times(e.Schedule, 7), (Times_t{{0, 1440}})) << c.y << " button " << button;
            if (c.dayType < 0) {
                // Only the time under the pointer is shown, as anywhere over the grid.
                for (const auto& name : e.Host.CallNames()) {
                    EXPECT_EQ(name, "Set_Text_Schedule_Time") << c.y << " button " << button;
                }
            }
        }
    }
}

TEST(MouseDown, ClickInsideAPeriodSelectsItAndFillsTheTimeFields) {
    Editor e(ScheduleBuilder().Period(0, 420, 960));
    e.Click(Editor::X(600), Editor::Y(0));
    EXPECT_EQ(e.Schedule.SelectedPeriod(), e.Schedule.Periods(0).Item(1));
    EXPECT_EQ(e.Schedule.EditStartMinute(), 420);
    EXPECT_EQ(e.Schedule.EditStopMinute(), 960);
    EXPECT_EQ(e.Host.LastText("Set_Text_Schedule_Period_Start"), "07:00");
    EXPECT_EQ(e.Host.LastText("Set_Text_Schedule_Period_Stop"), "16:00");
    // A click in a free place clears both fields and the selection.
    e.Click(Editor::X(1200), Editor::Y(0));
    EXPECT_EQ(e.Schedule.SelectedPeriod(), nullptr);
    EXPECT_EQ(e.Schedule.EditStartMinute(), 0);
    EXPECT_EQ(e.Schedule.EditStopMinute(), 1440);
    EXPECT_EQ(e.Host.LastText("Set_Text_Schedule_Period_Start"), "");
    EXPECT_EQ(e.Host.LastText("Set_Text_Schedule_Period_Stop"), "");
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{420, 960}}));
}

TEST(MouseDown, LeftPressRepaintsThePreviousRowOnlyAndCallsTheHostInOrder) {
    Editor e(ScheduleBuilder().Period(0, 420, 960).Period(3, 420, 960));
    e.Click(Editor::X(600), Editor::Y(0));
    e.Host.ClearCalls();
    e.Surface.ClearOperations();
    e.Down(Editor::X(600), Editor::Y(3));
    EXPECT_EQ(e.Host.CallNames(),
              (std::vector<std::string>{"Set_Text_Schedule_Time", "Get_Check_TimeSchedule_ViewDayType",
                                        "Set_Text_Schedule_Period_Start", "Set_Text_Schedule_Period_Stop"}));
    // Monday's row lost its dark selection; Thursday's row is repainted by the release.
    EXPECT_EQ(e.Surface.Pixel(150, 4), Rgb(0, 240, 0));
    EXPECT_EQ(e.Surface.Pixel(150, 79), Rgb(0, 240, 0));
    e.Up(Editor::X(600), Editor::Y(3));
    EXPECT_EQ(e.Surface.Pixel(150, 79), Rgb(0, 176, 0));
}

TEST(MouseDown, EdgeGrabbing) {
    struct Case {
        const char* what;
        Times_t periods;
        int minute;
        int mode;     // 1 start edge, 2 stop edge, 3 new period
        int grabbed;  // 1-based position of the grabbed period, 0 none
        int selected; // 1-based position of the selected period, 0 none
    };
    const auto cases = std::to_array<Case>({
        {"10 minutes left of the start", {{420, 960}}, 410, 1, 1, 0},
        {"14 minutes left of the start", {{420, 960}}, 406, 1, 1, 0},
        {"15 minutes left of the start", {{420, 960}}, 405, 3, 0, 0},
        {"inside near the start", {{420, 960}}, 425, 1, 1, 1},
        {"inside near the stop", {{420, 960}}, 955, 2, 1, 1},
        {"10 minutes right of the stop", {{420, 960}}, 970, 2, 1, 0},
        {"15 minutes right of the stop", {{420, 960}}, 975, 3, 0, 0},
        {"start beats stop of a short period", {{100, 110}}, 105, 1, 1, 1},
        {"earlier period beats a later one", {{500, 600}, {590, 700}}, 595, 2, 1, 1},
        {"far from every edge", {{420, 960}}, 600, 3, 0, 1},
    });
    for (const auto& c : cases) {
        ScheduleBuilder b;
        for (const auto& [start, stop] : c.periods) {
            b.Period(0, static_cast<std::int16_t>(start), static_cast<std::int16_t>(stop));
        }
        Editor e(b);
        e.Down(Editor::X(c.minute), Editor::Y(0));
        const auto& periods = e.Schedule.Periods(0);
        EXPECT_EQ(e.Schedule.DragMode(), c.mode) << c.what;
        EXPECT_EQ(e.Schedule.DragPeriod(), c.grabbed == 0 ? nullptr : periods.Item(c.grabbed)) << c.what;
        EXPECT_EQ(e.Schedule.SelectedPeriod(), c.selected == 0 ? nullptr : periods.Item(c.selected))
            << c.what;
        EXPECT_EQ(e.Surface.MousePointer(), c.grabbed == 0 ? kPointerDefault : kPointerSizeWE) << c.what;
    }
}

TEST(MouseMove, ANewPeriodAppearsSixMinutesFromThePress) {
    Editor e(ScheduleBuilder().Period(0, 420, 960));
    e.Down(Editor::X(1000), Editor::Y(0));
    e.Move(Editor::X(1005), Editor::Y(0)); // one pixel
    e.Move(Editor::X(995), Editor::Y(0));
    EXPECT_EQ(e.Schedule.Periods(0).Count(), 1);
    EXPECT_EQ(e.Surface.MousePointer(), kPointerDefault);
    e.Move(Editor::X(1006), Editor::Y(3)); // 6 minutes; the row under the pointer does not matter
    ASSERT_EQ(Times(e.Schedule, 0), (Times_t{{420, 960}, {1000, 1006}}));
    e.Move(Editor::X(1010), Editor::Y(0));
    ASSERT_EQ(Times(e.Schedule, 0), (Times_t{{420, 960}, {1000, 1010}}));
    EXPECT_EQ(e.Schedule.SelectedPeriod(), e.Schedule.Periods(0).Item(2));
    EXPECT_EQ(e.Schedule.DragPeriod(), e.Schedule.Periods(0).Item(2));
    EXPECT_EQ(e.Surface.MousePointer(), kPointerSizeWE);
    EXPECT_EQ(e.Host.LastText("Set_Text_Schedule_Period_Start"), "16:40");
    EXPECT_EQ(e.Host.LastText("Set_Text_Schedule_Period_Stop"), "16:50");
    EXPECT_TRUE(Times(e.Schedule, 3).empty());
    // Drawn leftwards past the press: start and stop change places, still drawing.
    e.Move(Editor::X(900), Editor::Y(0));
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{420, 960}, {900, 1000}}));
    EXPECT_EQ(e.Schedule.DragMode(), 3);
    e.Up(Editor::X(900), Editor::Y(0));
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{420, 1000}}));
    EXPECT_EQ(e.Schedule.SelectedPeriod(), e.Schedule.Periods(0).Item(1));
    EXPECT_EQ(e.Schedule.DragMode(), 0);
    EXPECT_EQ(e.Schedule.DragPeriod(), nullptr);
    EXPECT_EQ(e.Surface.MousePointer(), kPointerDefault);
}

TEST(MouseMove, DraggingAStartEdgeAcrossTheStopEdgeSwapsTheModes) {
    Editor e(ScheduleBuilder().Period(0, 420, 960));
    e.Down(Editor::X(425), Editor::Y(0));
    ASSERT_EQ(e.Schedule.DragMode(), 1);
    e.Move(Editor::X(500), Editor::Y(0));
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{500, 960}}));
    e.Move(Editor::X(1100), Editor::Y(0));
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{960, 1100}}));
    EXPECT_EQ(e.Schedule.DragMode(), 2);
    e.Move(Editor::X(1150), Editor::Y(0)); // the pointer now moves the stop edge
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{960, 1150}}));
    e.Move(Editor::X(100), Editor::Y(0)); // and back across: the start edge again
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{100, 960}}));
    EXPECT_EQ(e.Schedule.DragMode(), 1);
}

TEST(MouseMove, GrabbingFromOutsideDragsWithoutSelecting) {
    Editor e(ScheduleBuilder().Period(0, 420, 960));
    e.Down(Editor::X(970), Editor::Y(0));
    e.Move(Editor::X(1200), Editor::Y(0));
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{420, 1200}}));
    EXPECT_EQ(e.Host.LastText("Set_Text_Schedule_Period_Stop"), "20:00");
    EXPECT_EQ(e.Surface.Pixel(150, 4), Rgb(0, 240, 0)); // ordinary colour
    e.Up(Editor::X(1200), Editor::Y(0));
    EXPECT_EQ(e.Schedule.SelectedPeriod(), nullptr);
}

TEST(MouseMove, TheDragPausesOffTheGridAndNeverPassesMidnight) {
    Editor e(ScheduleBuilder{});
    e.Down(Editor::X(1400), Editor::Y(0));
    e.Move(Editor::X(1420), Editor::Y(0));
    ASSERT_EQ(Times(e.Schedule, 0), (Times_t{{1400, 1420}}));
    e.Move(330, Editor::Y(0)); // right of the grid
    e.Move(10, Editor::Y(0));  // in the label margin
    e.Move(200, 200);          // below the rows
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{1400, 1420}}));
    e.Move(318.9F, Editor::Y(0));
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{1400, 1440}}));
    e.Up(318.9F, Editor::Y(0));
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{1400, 1440}}));
}

TEST(MouseMove, WithoutADragOnlyUpdatesTheTimeField) {
    Editor e(ScheduleBuilder().Period(0, 420, 960));
    e.Move(Editor::X(600), Editor::Y(0));
    EXPECT_EQ(e.Host.CallNames(), (std::vector<std::string>{"Set_Text_Schedule_Time"}));
    EXPECT_TRUE(e.Surface.Operations().empty());
}

TEST(MouseUp, OutsideADragDoesNothing) {
    Editor e(ScheduleBuilder().Period(0, 420, 960));
    e.Up(Editor::X(600), Editor::Y(0));
    e.Down(Editor::X(600), Editor::Y(0), 2);
    e.Host.ClearCalls();
    e.Up(Editor::X(600), Editor::Y(0));
    EXPECT_TRUE(e.Host.Calls().empty());
    EXPECT_TRUE(e.Surface.Operations().empty());
}

TEST(MouseUp, MergesANewOverlappingPeriodAndCopiesTheDayToTheGroup) {
    ScheduleBuilder b;
    for (int d = 0; d < 5; ++d) {
        b.Grouped(d).Period(d, 420, 960);
    }
    Editor e(b.Period(6, 0, 60));
    e.Down(Editor::X(1100), Editor::Y(1)); // Tuesday
    e.Move(Editor::X(950), Editor::Y(1));
    e.Host.ClearCalls();
    e.Surface.ClearOperations();
    e.Up(Editor::X(950), Editor::Y(1));
    for (int d = 0; d < 5; ++d) {
        EXPECT_EQ(Times(e.Schedule, d), (Times_t{{420, 1100}})) << d;
    }
    EXPECT_EQ(Times(e.Schedule, 6), (Times_t{{0, 60}}));
    // Pointer back to the arrow first; the members' rows (Mon, Wed, Thu, Fri), then Tuesday's.
    EXPECT_EQ(e.Surface.Describe().front(), "MousePointer=0");
    EXPECT_EQ(e.Host.CallNames(), std::vector<std::string>(5, "Get_Check_TimeSchedule_ViewDayType"));
    const auto borders = e.Surface.OperationsOf(SurfaceOperation::Kind::Line);
    std::vector<double> rowTops;
    for (const auto& line : borders) {
        if (line.X1 == 318 && line.X2 == 318) {
            rowTops.push_back(line.Y1);
        }
    }
    EXPECT_EQ(rowTops, (std::vector<double>{0, 50, 75, 100, 25}));
}

TEST(MouseDown, RightPressSetsThePopupMenuStatesInOrder) {
    struct Case {
        const char* what;
        std::vector<int> grouped;
        int row;
        bool copied;
        std::int32_t monFri;
        std::int16_t groupedFlag;
        std::int16_t paste;
    };
    const auto cases = std::to_array<Case>({
        {"Monday to Friday grouped", {0, 1, 2, 3, 4}, 0, false, -1, -1, 0},
        {"Monday to Saturday grouped", {0, 1, 2, 3, 4, 5}, 6, true, 0, 0, -1},
        {"Monday to Thursday grouped", {0, 1, 2, 3}, 4, false, 0, 0, 0},
        {"Monday to Friday and day type 22", {0, 1, 2, 3, 4, 22}, 2, false, 0, -1, 0},
        {"nothing grouped", {}, 3, false, 0, 0, 0},
    });
    for (const auto& c : cases) {
        ScheduleBuilder b;
        for (int d : c.grouped) {
            b.Grouped(d);
        }
        Editor e(b);
        if (c.copied) {
            e.Down(Editor::X(600), Editor::Y(1), 2);
            e.Schedule.Copy();
            e.Host.ClearCalls();
        }
        e.Down(Editor::X(600), Editor::Y(c.row), 2);
        const std::vector<std::string> names = {
            "Set_Text_Schedule_Time", "Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked",
            "Set_Menu_TimeSchedulePopup_Grouped_Checked", "Set_Menu_TimeSchedulePopup_Paste_Enabled",
            "Set_Menu_TimeSchedulePopup_Delete_Enabled"};
        ASSERT_EQ(e.Host.CallNames(), names) << c.what;
        const auto& calls = e.Host.Calls();
        EXPECT_TRUE(std::holds_alternative<std::int32_t*>(calls[1].Arguments[0])) << c.what;
        EXPECT_EQ(calls[1].Values[0], HostValue(c.monFri)) << c.what;
        EXPECT_TRUE(std::holds_alternative<std::int16_t*>(calls[2].Arguments[0])) << c.what;
        EXPECT_EQ(calls[2].Values[0], HostValue(c.groupedFlag)) << c.what;
        EXPECT_EQ(calls[3].Values[0], HostValue(c.paste)) << c.what;
        EXPECT_EQ(calls[4].Values[0], HostValue(std::int16_t{-1})) << c.what;
        EXPECT_TRUE(e.Surface.Operations().empty()) << c.what; // nothing repainted
        EXPECT_EQ(e.Schedule.DragMode(), 0) << c.what;
    }
}

TEST(MouseDown, RightPressOnAnotherRowKeepsTheSelectedPeriod) {
    Editor e(ScheduleBuilder().Period(0, 420, 960));
    e.Click(Editor::X(600), Editor::Y(0));
    const PeriodPtr selected = e.Schedule.SelectedPeriod();
    ASSERT_NE(selected, nullptr);
    e.Down(Editor::X(600), Editor::Y(4), 2);
    EXPECT_EQ(e.Schedule.SelectedDayType(), 4);
    EXPECT_EQ(e.Schedule.SelectedPeriod(), selected);
    // Any other button only selects the day type.
    e.Down(Editor::X(600), Editor::Y(2), 4);
    EXPECT_EQ(e.Schedule.SelectedDayType(), 2);
    EXPECT_EQ(e.Schedule.SelectedPeriod(), selected);
}

TEST(MouseDown, ALeftPressAfterALostReleaseStartsAFreshDrag) {
    Editor e(ScheduleBuilder().Period(0, 420, 960));
    e.Down(Editor::X(1000), Editor::Y(0));
    e.Move(Editor::X(1100), Editor::Y(0)); // draws 1000-1100; the release never comes
    e.Down(Editor::X(200), Editor::Y(2));  // a free place on Wednesday
    e.Move(Editor::X(203), Editor::Y(2));
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{420, 960}, {1000, 1100}}));
    EXPECT_TRUE(Times(e.Schedule, 2).empty()); // under the 6-minute threshold
    e.Move(Editor::X(300), Editor::Y(2));
    EXPECT_EQ(Times(e.Schedule, 2), (Times_t{{200, 300}}));
}

TEST(MouseEvents, AHostLackingTheTimeFieldFailsEveryPressAndMoveOverTheGrid) {
    Editor e(ScheduleBuilder().Period(0, 420, 960));
    RecordingHost lacking(false);
    EXPECT_THROW(e.View.MouseDown(lacking, e.SurfaceVariable, 1, 0, Editor::X(600), Editor::Y(0)),
                 HostCallError);
    EXPECT_THROW(e.View.MouseMove(lacking, e.SurfaceVariable, 1, 0, Editor::X(600), Editor::Y(0)),
                 HostCallError);
    EXPECT_EQ(e.Schedule.SelectedDayType(), -1);
    // Off the grid nothing is asked of the host.
    EXPECT_NO_THROW(e.View.MouseMove(lacking, e.SurfaceVariable, 1, 0, 10, Editor::Y(0)));
}

TEST(MouseEvents, AHostThatAnswersEverythingWithNothingStillLetsTheUserEdit) {
    cTimeSchedule schedule;
    RecordingHost host(true);
    RecordingSurface surface(324, 179, kBackground);
    IDrawingSurface* variable = nullptr;
    TimeScheduleView(schedule).RecalculateAndPrepareToPaint(host, variable, &surface);
    TimeScheduleView(schedule).Paint(host, variable);
    TimeScheduleView(schedule).MouseDown(host, variable, 1, 0, Editor::X(600), Editor::Y(0));
    TimeScheduleView(schedule).MouseMove(host, variable, 1, 0, Editor::X(700), Editor::Y(0));
    TimeScheduleView(schedule).MouseUp(host, variable, 1, 0, Editor::X(700), Editor::Y(0));
    EXPECT_EQ(Times(schedule, 0), (Times_t{{600, 700}}));
    TimeScheduleView(schedule).Delete(host, variable);
    EXPECT_TRUE(Times(schedule, 0).empty());
    // GroupMonFri reads the unanswered menu mark as unchecked.
    TimeScheduleView(schedule).GroupMonFri(host, variable);
    EXPECT_EQ(schedule.GetGrouped(4), -1);
}

// The host interface has an operation for every callback of the grid: a
// session that runs every operation of the grid calls each of them.
TEST(HostContract, AFullSessionCallsExactlyTheNamesOfTheContract) {
    Editor e(ScheduleBuilder().UseCalendar().Active(7).Grouped(0).Grouped(1).Period(0, 420, 960), 8 * 25 + 4);
    e.Host.StartText = "08:00";
    e.Host.StopText = "09:00";
    e.Down(Editor::X(600), Editor::Y(0));
    e.Move(Editor::X(700), Editor::Y(0));
    e.Up(Editor::X(700), Editor::Y(0));
    e.View.ExtractTimeFromTextboxes(e.Host, e.SurfaceVariable);
    e.Down(Editor::X(600), Editor::Y(1), 2);
    e.Schedule.Copy();
    e.View.Group(e.Host, e.SurfaceVariable);
    e.View.GroupMonFri(e.Host, e.SurfaceVariable);
    e.Down(Editor::X(600), Editor::Y(2), 2);
    e.View.Paste(e.Host, e.SurfaceVariable);
    e.View.SetTimeFrom00to24(e.Host, e.SurfaceVariable);
    e.Down(Editor::X(600), Editor::Y(2), 2);
    e.View.Delete(e.Host, e.SurfaceVariable);
    e.View.RecalculateAndPrepareToPaint(e.Host, e.SurfaceVariable, nullptr);
    e.View.Paint(e.Host, e.SurfaceVariable);

    std::set<std::string> contract;
    for (const std::string& name : RecordingHost::ScheduleOperations()) {
        contract.insert(name);
    }
    std::set<std::string> called;
    for (const auto& call : e.Host.Calls()) {
        called.insert(call.Name);
    }
    EXPECT_EQ(called, contract);
}

} // namespace
} // namespace velmar::test
