// Mouse painting of day-type codes and the pointer tip of the month view.
// October 2000 starts on a Sunday, so its 3rd, 4th and 5th lie in row 1,
// columns 1 to 3, with box centres at (90, 57), (130, 57) and (170, 57).

#include "common/Errors.h"
#include "tests/calendar/CalendarFixture.h"

#include <array>
#include <cmath>
#include <limits>
#include <set>

namespace velmar::test {
namespace {

using Kind = SurfaceOperation::Kind;

class CalendarMouseTest : public CalendarFixture {
protected:
    CalendarMouseTest() {
        host.Answer("Get_Combo_Calendar_DayType_SelectedItem", [this](RecordingHost::Arguments) {
            return selectedEntry > 0 ? HostValue{std::string("item")} : HostValue{};
        });
        host.Answer("Get_Combo_Calendar_DayType_SelectedItem_Index",
                    [this](RecordingHost::Arguments) { return HostValue{selectedEntry}; });
        host.Answer("Get_Combo_Calendar_DayType_ComboItems", [](RecordingHost::Arguments args) {
            return HostValue{"entry " + std::to_string(HostInt16(args[0]))};
        });
        Show(2000, 10);
    }

    void Down(float x, float y, std::int16_t button = 1) {
        calendar.MouseDown(host, &surface, button, 0, x, y);
    }
    void Move(float x, float y) { calendar.MouseMove(host, &surface, 0, 0, x, y); }
    void Up() { calendar.MouseUp(1, 0, 0, 0); }

    std::int16_t CodeOn(int day) const { return calendar.GetDayType(Offset(2000, 10, day)); }
    std::size_t Repaints() const { return Ops(Kind::FillRect).size(); }
    int CallsOf(const std::string& name) const {
        int count = 0;
        for (const auto& call : host.Calls()) {
            count += call.Name == name ? 1 : 0;
        }
        return count;
    }

    std::int16_t selectedEntry = 5; // code 4
};

TEST_F(CalendarMouseTest, PressAndDragPaintsTheSelectedCodeOntoEveryDateEntered) {
    Down(90, 57);
    EXPECT_EQ(CodeOn(3), 4);
    EXPECT_EQ(Repaints(), 1u);
    EXPECT_EQ(Ops(Kind::FillRect)[0].Describe(), "FillRect(72,47,37,22,#ece9d8)");
    EXPECT_EQ(calendar.MouseButton(), 1);
    EXPECT_EQ(calendar.PaintDayType(), 4);

    Move(92, 58); // the 3rd again: LastMouseDay was reset, so the tip follows
    EXPECT_EQ(surface.ToolTipText(), "entry 5");
    Move(130, 57);
    Move(131, 60); // within the 4th: nothing happens
    Move(170, 57);
    EXPECT_EQ(CodeOn(4), 4);
    EXPECT_EQ(CodeOn(5), 4);
    EXPECT_EQ(Repaints(), 3u);
    EXPECT_EQ(CallsOf("Get_Combo_Calendar_DayType_ComboItems"), 3);

    Move(90, 57); // back over the 3rd: its code already matches, only the tip changes
    EXPECT_EQ(Repaints(), 3u);
    EXPECT_EQ(surface.ToolTipText(), "entry 5");

    Up();
    EXPECT_EQ(calendar.MouseButton(), 0);
    EXPECT_EQ(calendar.PaintDayType(), -1);
    Move(210, 57); // the 6th, after release
    EXPECT_EQ(CodeOn(6), 0);
    EXPECT_EQ(CodeOn(2), 0);
    EXPECT_EQ(surface.ToolTipText(), "");
}

TEST_F(CalendarMouseTest, PressesOutsideTheDatesChangeNothing) {
    struct Point {
        float x, y;
        const char* where;
    };
    const auto points = std::to_array<Point>({
        {90, 10, "heading"},
        {15, 57, "week number"},
        {400, 57, "outside the grid"},
        {30, 57, "left grid line"},
        {310, 57, "right grid line"},
        {90, 20, "top grid line"},
        {90, 170, "bottom line"},
        {50, 32, "cell before day 1"},
        {130, 157, "cell after day 31"},
        {290, 157, "last empty cell"},
        {std::nanf(""), 57, "x not a number"},
        {90, std::nanf(""), "y not a number"},
        {std::numeric_limits<float>::infinity(), 57, "x infinite"},
    });
    calendar.SetDayType(Offset(2000, 10, 3), 7);
    surface.SetToolTipText("old");
    for (const Point& p : points) {
        SCOPED_TRACE(p.where);
        Down(p.x, p.y);
        Move(p.x, p.y);
        EXPECT_EQ(surface.ToolTipText(), "");
        Up();
    }
    EXPECT_EQ(Repaints(), 0u);
    EXPECT_TRUE(calendar.CompareToOtherCalendar(&calendar));
    cCalendar reference;
    reference.SetDayType(Offset(2000, 10, 3), 7);
    EXPECT_EQ(calendar.CompareToOtherCalendar(&reference), -1);
}

TEST_F(CalendarMouseTest, FractionalPositionsInTheLastColumnAndRowStayInTheirBox) {
    // Scaled displays deliver fractional positions; the last half pixel before
    // the grid's right and bottom edges rounds up to the edge itself.
    struct Case {
        float x, y;
        int day; // of October 2000
    };
    const auto cases = std::to_array<Case>({
        {309.4F, 57, 8},   // Sunday 8th
        {309.5F, 57, 8},   // rounds to 310: still Sunday, not Monday 9th
        {309.99F, 57, 8},  //
        {50, 169.5F, 30},  // Monday 30th in the last row
        {90, 169.99F, 31}, // Tuesday 31st
        {30.5F, 57, 2},    // the first column's left half pixel
    });
    for (const Case& c : cases) {
        for (int day = 1; day <= 31; ++day) {
            calendar.SetDayType(Offset(2000, 10, day), 0);
        }
        Down(c.x, c.y);
        Up();
        for (int day = 1; day <= 31; ++day) {
            EXPECT_EQ(CodeOn(day), day == c.day ? 4 : 0) << c.x << "," << c.y << " day " << day;
        }
    }
}

TEST_F(CalendarMouseTest, EntryNumbersBecomeCodesAndAnyButtonPaints) {
    struct Case {
        HostValue index;
        std::int16_t button;
        std::int16_t code;
    };
    const auto cases = std::to_array<Case>({
        {std::int16_t{1}, 1, 0},
        {std::int16_t{24}, 2, 23},
        {std::string("3"), 4, 2},
        {std::int32_t{0}, 1, 0},
        {2.5, 1, 1}, // 2.5 rounds to 2, entry 2 is code 1
    });
    calendar.SetDayType(Offset(2000, 10, 3), 9);
    for (const Case& c : cases) {
        host.Answer("Get_Combo_Calendar_DayType_SelectedItem_Index",
                    [&c](RecordingHost::Arguments) { return c.index; });
        Down(90, 57, c.button);
        EXPECT_EQ(calendar.PaintDayType(), c.code);
        EXPECT_EQ(CodeOn(3), c.code);
        Up();
    }
}

TEST_F(CalendarMouseTest, APressOnADateThatAlreadyHasTheCodeDoesNotRedrawIt) {
    calendar.SetDayType(Offset(2000, 10, 3), 4);
    Down(90, 57);
    EXPECT_EQ(Repaints(), 0u);
    EXPECT_EQ(calendar.PaintDayType(), 4);
}

TEST_F(CalendarMouseTest, NothingSelectedOnlyUpdatesTheTip) {
    selectedEntry = 0;
    calendar.SetDayType(Offset(2000, 10, 4), 2);
    Down(90, 57, 1);
    EXPECT_EQ(calendar.PaintDayType(), -1);
    EXPECT_EQ(calendar.MouseButton(), 1);
    EXPECT_EQ(CallsOf("Get_Combo_Calendar_DayType_SelectedItem_Index"), 0);
    Move(130, 57);
    Move(170, 57);
    Move(130, 57);
    EXPECT_EQ(CodeOn(3), 0);
    EXPECT_EQ(CodeOn(4), 2);
    EXPECT_EQ(CodeOn(5), 0);
    EXPECT_EQ(Repaints(), 0u);
    EXPECT_EQ(surface.ToolTipText(), "entry 3");
}

TEST_F(CalendarMouseTest, HolidayTipsAddTheFirstLabelOfTheDate) {
    calendar.SetDayType(Offset(2000, 10, 3), 4);
    AddHoliday(Offset(2000, 10, 3), "Hidden feast", false); // shown in tips all the same
    AddHoliday(Offset(2000, 10, 3), "Second label", true);
    AddHoliday(Offset(2000, 10, 4), "Name day", true);
    HolidayFlags[Offset(2000, 10, 5)] = 1; // flagged, but no label of its own
    auto unflagged = std::make_shared<cHolidayLabel>();
    unflagged->m_Day = static_cast<std::int16_t>(Offset(2000, 10, 6));
    unflagged->m_Label = "Not flagged";
    HolidayLabels.Add(unflagged);

    struct Case {
        float x;
        const char* tip;
    };
    const auto cases = std::to_array<Case>({
        {90, "entry 5 (Hidden feast)"},
        {130, " (Name day)"}, // code 0: the tip starts with the blank of " ("
        {170, ""},
        {210, ""},
    });
    for (const Case& c : cases) {
        Move(c.x, 57);
        EXPECT_EQ(surface.ToolTipText(), c.tip) << c.x;
    }
}

// LastMouseDay starts at -1 and RecalculateAndPrepareToPaint sets it back to -1,
// so the first move onto any date updates the tip.
TEST_F(CalendarMouseTest, TheFirstMoveAfterCreationOrAMonthChangeUpdatesTheTip) {
    cCalendar fresh;
    EXPECT_EQ(fresh.LastMouseDayValue(), -1);
    EXPECT_EQ(fresh.PaintDayType(), 0);
    // The month fields set by hand, without RecalculateAndPrepareToPaint: day 0
    // of the month is 1 January 2000, in the Monday column.
    fresh.m_DaysInActualMonth = 31;
    fresh.SetDayType(0, 5);
    fresh.MouseMove(host, &surface, 0, 0, 50, 32);
    EXPECT_EQ(surface.ToolTipText(), "entry 6");
    EXPECT_EQ(fresh.LastMouseDayValue(), 0);

    calendar.SetDayType(Offset(2000, 10, 3), 4);
    Move(90, 57);
    EXPECT_EQ(surface.ToolTipText(), "entry 5");
    EXPECT_EQ(calendar.LastMouseDayValue(), 2);
    // November 2000 starts on a Wednesday; its day 2 (the 3rd) is at (210, 32).
    Show(2000, 11);
    EXPECT_EQ(calendar.LastMouseDayValue(), -1);
    Move(210, 32);
    EXPECT_EQ(surface.ToolTipText(), "");
    EXPECT_EQ(calendar.LastMouseDayValue(), 2);
    Move(15, 32);
    EXPECT_EQ(calendar.LastMouseDayValue(), -1);
}

TEST_F(CalendarMouseTest, MovesNeverRaiseAndSkipOnlyTheFailedSteps) {
    AddHoliday(Offset(2000, 10, 3), "Feast", true);
    calendar.SetDayType(Offset(2000, 10, 3), 4);

    // A host that answers none of the combo names: the label is still added.
    RecordingHost bare;
    surface.SetToolTipText("old");
    EXPECT_NO_THROW(calendar.MouseMove(bare, &surface, 0, 0, 90, 57));
    EXPECT_EQ(surface.ToolTipText(), " (Feast)");
    EXPECT_EQ(calendar.LastMouseDayValue(), 2);

    // Painting code 9 with a host that cannot draw images: the code is stored,
    // the redraw fails half-way, and the tip is still set.
    Down(50, 32); // outside the dates, but records the button and code 4
    host.Answer("Get_Combo_Calendar_DayType_SelectedItem_Index",
                [](RecordingHost::Arguments) { return HostValue{std::int16_t{10}}; });
    Down(15, 32);
    RecordingHost noImages;
    noImages.Answer("Get_Combo_Calendar_DayType_ComboItems",
                    [](RecordingHost::Arguments) { return HostValue{std::string("nine")}; });
    EXPECT_NO_THROW(calendar.MouseMove(noImages, &surface, 1, 0, 130, 57));
    EXPECT_EQ(CodeOn(4), 9);
    EXPECT_EQ(surface.ToolTipText(), "nine");

    // No picture box at all.
    EXPECT_NO_THROW(calendar.MouseMove(host, nullptr, 1, 0, 170, 57));
    EXPECT_EQ(CodeOn(5), 9);
    EXPECT_EQ(calendar.LastMouseDayValue(), 4);

    // A month outside the table: every step on the date fails.
    Show(1999, 12);
    Down(15, 32);
    surface.SetToolTipText("old");
    EXPECT_NO_THROW(Move(90, 57));
    EXPECT_EQ(surface.ToolTipText(), "");
    EXPECT_EQ(calendar.LastMouseDayValue(), 6);
}

TEST_F(CalendarMouseTest, PressFailuresReachTheHost) {
    RecordingHost bare;
    EXPECT_THROW(calendar.MouseDown(bare, &surface, 1, 0, 90, 57), HostCallError);
    EXPECT_EQ(calendar.MouseButton(), 1) << "the button was recorded before the call";

    Show(1999, 12);
    EXPECT_THROW(Down(90, 57), OutOfRangeError);

    Show(2000, 10);
    host.Answer("Get_Combo_Calendar_DayType_SelectedItem_Index",
                [](RecordingHost::Arguments) { return HostValue{std::string("not a number")}; });
    EXPECT_THROW(Down(90, 57), InvalidArgumentError);
    EXPECT_EQ(CodeOn(3), 0);
}

// The host interface has an operation for every callback of the month view:
// painting a month with an image code and editing it calls each of them.
TEST_F(CalendarMouseTest, AFullSessionCallsExactlyTheNamesOfTheContract) {
    calendar.SetDayType(Offset(2000, 10, 9), 9);
    calendar.Paint(host, &surface);
    Down(90, 57);
    Move(130, 57);
    Up();
    Move(90, 57);
    std::set<std::string> contract;
    for (const std::string& name : RecordingHost::CalendarOperations()) {
        contract.insert(name);
    }
    std::set<std::string> called;
    for (const auto& call : host.Calls()) {
        called.insert(call.Name);
    }
    EXPECT_EQ(called, contract);
}

} // namespace
} // namespace velmar::test
