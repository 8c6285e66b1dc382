// The editing operations of the popup menu and the time boxes, and the merge
// and group propagation behind them.

#include "common/Errors.h"
#include "tests/schedule_view/ScheduleFixtures.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace velmar::test {
namespace {

using Times_t = std::vector<std::pair<int, int>>;

ScheduleBuilder WorkingWeek() {
    ScheduleBuilder b;
    for (int d = 0; d < 5; ++d) {
        b.Grouped(d).Period(d, 420, 960);
    }
    return b;
}

// Selects a day type with a right press on its row, as the popup menu does.
void SelectRow(Editor& e, int row) {
    e.Down(Editor::X(1300), Editor::Y(row), 2);
    e.Host.ClearCalls();
}

TEST(MergeOverlappingPeriods, JoinsOverlappingAndTouchingPeriodsOnly) {
    struct Case {
        const char* what;
        Times_t before;
        Times_t after;
    };
    const auto cases = std::to_array<Case>({
        {"touching chain", {{420, 600}, {600, 700}, {800, 900}}, {{420, 700}, {800, 900}}},
        {"one minute apart", {{420, 600}, {601, 700}}, {{420, 600}, {601, 700}}},
        {"touching, later one first", {{600, 700}, {420, 600}}, {{420, 700}}},
        {"contained", {{100, 500}, {200, 300}}, {{100, 500}}},
        {"equal times, two objects", {{100, 200}, {100, 200}}, {{100, 200}}},
        {"needs a second pass", {{800, 900}, {420, 600}, {500, 850}}, {{420, 900}}},
        {"survivors keep their places", {{900, 1000}, {100, 200}, {950, 1100}}, {{900, 1100}, {100, 200}}},
    });
    for (const auto& c : cases) {
        ScheduleBuilder b;
        for (const auto& [start, stop] : c.before) {
            b.Period(0, static_cast<std::int16_t>(start), static_cast<std::int16_t>(stop));
        }
        Editor e(b);
        // Every left click ends in a release, which merges the row's periods.
        e.Click(Editor::X(1300), Editor::Y(0));
        EXPECT_EQ(Times(e.Schedule, 0), c.after) << c.what;
    }
}

TEST(MergeOverlappingPeriods, SelectionFollowsTheSurvivingPeriod) {
    Editor e(ScheduleBuilder().Period(0, 420, 600).Period(0, 500, 700));
    e.Click(Editor::X(650), Editor::Y(0)); // inside only the second period
    ASSERT_EQ(Times(e.Schedule, 0), (Times_t{{420, 700}}));
    EXPECT_EQ(e.Schedule.SelectedPeriod(), e.Schedule.Periods(0).Item(1));
}

TEST(Delete, RemovesTheDayTypesPeriodsAndClearsTheTimeBoxesForTheSelectedPeriod) {
    Editor e(WorkingWeek().Period(0, 1000, 1100));
    e.Click(Editor::X(1050), Editor::Y(0)); // selects 1000-1100 on Monday
    const PeriodPtr selected = e.Schedule.SelectedPeriod();
    ASSERT_NE(selected, nullptr);
    e.Host.ClearCalls();
    e.View.Delete(e.Host, e.SurfaceVariable);
    EXPECT_TRUE(Times(e.Schedule, 0).empty());
    EXPECT_EQ(e.Schedule.GetGrouped(0), 0);
    EXPECT_EQ(e.Schedule.SelectedDayType(), -1);
    EXPECT_EQ(e.Schedule.SelectedPeriod(), nullptr);
    EXPECT_EQ(selected->m_StartMinute, 1000); // still valid for its holder
    EXPECT_EQ(e.Host.CallNames(),
              (std::vector<std::string>{"Set_Text_Schedule_Period_Start", "Set_Text_Schedule_Period_Stop",
                                        "Get_Check_TimeSchedule_ViewDayType"}));
    EXPECT_EQ(e.Host.LastText("Set_Text_Schedule_Period_Start"), "");
    // The other members keep their periods (the click had copied Monday's to them).
    EXPECT_EQ(Times(e.Schedule, 1), (Times_t{{420, 960}, {1000, 1100}}));
    EXPECT_EQ(e.Schedule.GetGrouped(1), -1);
}

TEST(Delete, LeavesTheTimeBoxesAloneWhenTheSelectedPeriodIsElsewhere) {
    Editor e(WorkingWeek());
    e.Click(Editor::X(600), Editor::Y(0)); // selects Monday's period
    SelectRow(e, 1);                       // Tuesday
    e.View.Delete(e.Host, e.SurfaceVariable);
    EXPECT_TRUE(Times(e.Schedule, 1).empty());
    EXPECT_EQ(e.Host.CountOf("Set_Text_Schedule_Period_Start"), 0u);
    EXPECT_NE(e.Schedule.SelectedPeriod(), nullptr);
}

TEST(EditingOperations, DoNothingWithoutASelection) {
    Editor e(WorkingWeek());
    e.View.Delete(e.Host, e.SurfaceVariable);
    e.View.SetTimeFrom00to24(e.Host, e.SurfaceVariable);
    e.View.Group(e.Host, e.SurfaceVariable);
    e.View.Paste(e.Host, e.SurfaceVariable);
    e.View.ExtractTimeFromTextboxes(e.Host, e.SurfaceVariable);
    EXPECT_TRUE(e.Host.Calls().empty());
    EXPECT_TRUE(e.Surface.Operations().empty());
    for (int d = 0; d < 5; ++d) {
        EXPECT_EQ(Times(e.Schedule, d), (Times_t{{420, 960}}));
        EXPECT_EQ(e.Schedule.GetGrouped(static_cast<std::int16_t>(d)), -1);
    }
}

TEST(SetTimeFrom00to24, MakesOneWholeDayPeriodOutOfTheGroup) {
    Editor e(WorkingWeek().Period(1, 1000, 1100));
    SelectRow(e, 1);
    e.View.SetTimeFrom00to24(e.Host, e.SurfaceVariable);
    EXPECT_EQ(Times(e.Schedule, 1), (Times_t{{0, 1440}}));
    EXPECT_EQ(e.Schedule.GetGrouped(1), 0);
    EXPECT_EQ(e.Schedule.SelectedDayType(), -1);
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{420, 960}}));
    EXPECT_EQ(Times(e.Schedule, 2), (Times_t{{420, 960}}));
    EXPECT_EQ(e.Host.CallNames(), (std::vector<std::string>{"Get_Check_TimeSchedule_ViewDayType"}));
}

TEST(ExtractTimeFromTextboxes, AppliesSwappedTimesRewritesTheBoxesAndPropagates) {
    Editor e(WorkingWeek());
    e.Click(Editor::X(600), Editor::Y(0));
    e.Host.ClearCalls();
    e.Host.StartText = "16:00";
    e.Host.StopText = "730";
    e.View.ExtractTimeFromTextboxes(e.Host, e.SurfaceVariable);
    EXPECT_EQ(e.Schedule.EditStartMinute(), 450);
    EXPECT_EQ(e.Schedule.EditStopMinute(), 960);
    for (int d = 0; d < 5; ++d) {
        EXPECT_EQ(Times(e.Schedule, d), (Times_t{{450, 960}})) << d;
    }
    // The members got copies, not Monday's period itself.
    EXPECT_NE(e.Schedule.Periods(1).Item(1), e.Schedule.Periods(0).Item(1));
    const std::vector<std::string> expected = {
        "Get_Text_Schedule_Period_Start",     "Get_Text_Schedule_Period_Stop",
        "Set_Text_Schedule_Period_Start",     "Set_Text_Schedule_Period_Stop",
        "Get_Check_TimeSchedule_ViewDayType", // Monday's row
        "Get_Check_TimeSchedule_ViewDayType", "Get_Check_TimeSchedule_ViewDayType",
        "Get_Check_TimeSchedule_ViewDayType", "Get_Check_TimeSchedule_ViewDayType"}; // Tue..Fri
    EXPECT_EQ(e.Host.CallNames(), expected);
    EXPECT_EQ(e.Host.LastText("Set_Text_Schedule_Period_Start"), "07:30");
    EXPECT_EQ(e.Host.LastText("Set_Text_Schedule_Period_Stop"), "16:00");
}

TEST(ExtractTimeFromTextboxes, MergesWithANeighbourAndReadsAnyTextAsATime) {
    Editor e(ScheduleBuilder().Period(0, 420, 600).Period(0, 700, 900));
    e.Click(Editor::X(500), Editor::Y(0));
    e.Host.StartText = "8";
    e.Host.StopText = "12:00";
    e.View.ExtractTimeFromTextboxes(e.Host, e.SurfaceVariable);
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{480, 900}}));
    e.Host.StartText = "no time";
    e.Host.StopText = "99:00";
    e.View.ExtractTimeFromTextboxes(e.Host, e.SurfaceVariable);
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{0, 1440}}));
}

// The boxes apply to the period selected, wherever the selected day type has
// moved since: a right press on another row, or an operation that ends with no
// day type selected. The day type that holds the period is merged, repainted
// and propagated.
TEST(ExtractTimeFromTextboxes, RetimesTheDayTypeThatHoldsTheSelectedPeriod) {
    const std::vector<std::string> mondayThenTheGroup = {
        "Get_Text_Schedule_Period_Start",     "Get_Text_Schedule_Period_Stop",
        "Set_Text_Schedule_Period_Start",     "Set_Text_Schedule_Period_Stop",
        "Get_Check_TimeSchedule_ViewDayType", // Monday's row
        "Get_Check_TimeSchedule_ViewDayType", "Get_Check_TimeSchedule_ViewDayType",
        "Get_Check_TimeSchedule_ViewDayType", "Get_Check_TimeSchedule_ViewDayType"}; // Tue..Fri
    struct Case {
        const char* what;
        void (*afterSelecting)(Editor&);
    };
    const auto cases = std::to_array<Case>({
        {"right press on Tuesday", [](Editor& e) { SelectRow(e, 1); }},
        {"Saturday filled, no day type selected",
         [](Editor& e) {
             SelectRow(e, 5);
             e.View.SetTimeFrom00to24(e.Host, e.SurfaceVariable);
         }},
    });
    for (const auto& c : cases) {
        Editor e(WorkingWeek());
        e.Click(Editor::X(600), Editor::Y(0)); // Monday's period
        c.afterSelecting(e);
        e.Host.ClearCalls();
        e.Host.StartText = "08:00";
        e.Host.StopText = "17:00";
        e.View.ExtractTimeFromTextboxes(e.Host, e.SurfaceVariable);
        for (int d = 0; d < 5; ++d) {
            EXPECT_EQ(Times(e.Schedule, d), (Times_t{{480, 1020}})) << c.what << ", day type " << d;
        }
        EXPECT_EQ(e.Host.CallNames(), mondayThenTheGroup) << c.what;
        EXPECT_EQ(e.Schedule.SelectedPeriod(), e.Schedule.Periods(0).Item(1)) << c.what;
    }
}

TEST(ExtractTimeFromTextboxes, MergesAndRepaintsTheHoldingDayTypeOutsideTheGroup) {
    Editor e(ScheduleBuilder().Period(0, 420, 600).Period(0, 700, 960).Period(1, 420, 960));
    e.Click(Editor::X(500), Editor::Y(0)); // Monday's first period
    SelectRow(e, 1);
    e.Surface.ClearOperations();
    e.Host.StartText = "08:00";
    e.Host.StopText = "17:00";
    e.View.ExtractTimeFromTextboxes(e.Host, e.SurfaceVariable);
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{480, 1020}}));
    EXPECT_EQ(Times(e.Schedule, 1), (Times_t{{420, 960}}));
    // Monday's row is repainted with the merged period selected (darker green).
    EXPECT_EQ(e.Surface.Pixel(Editor::X(900), 4), Rgb(0, 176, 0));
    EXPECT_EQ(e.Surface.Pixel(Editor::X(1010), 4), Rgb(0, 176, 0));
}

TEST(ExtractTimeFromTextboxes, APeriodNoDayTypeHoldsChangesNothing) {
    Editor e(WorkingWeek());
    e.Click(Editor::X(600), Editor::Y(0));
    const PeriodPtr selected = e.Schedule.SelectedPeriod();
    ASSERT_NE(selected, nullptr);
    // The text form replaces every collection; the selection is left behind.
    e.Schedule.ExtractPeriodArray(e.Schedule.ComposePeriodArray());
    e.Host.ClearCalls();
    e.Surface.ClearOperations();
    e.Host.StartText = "08:00";
    e.Host.StopText = "17:00";
    e.View.ExtractTimeFromTextboxes(e.Host, e.SurfaceVariable);
    EXPECT_EQ(selected->m_StartMinute, 420);
    EXPECT_EQ(selected->m_StopMinute, 960);
    EXPECT_TRUE(e.Host.Calls().empty());
    EXPECT_TRUE(e.Surface.Operations().empty());
    for (int d = 0; d < 5; ++d) {
        EXPECT_EQ(Times(e.Schedule, d), (Times_t{{420, 960}})) << d;
    }
}

// An edit that empties or replaces the collection holding the selected period
// clears the selection and empties the time boxes, as Delete does: the boxes
// must not go on editing a period that is no longer in the schedule.
TEST(EditingOperations, ASelectionAnEditRemovedIsClearedWithTheTimeBoxes) {
    struct Case {
        const char* what;
        void (*edit)(Editor&);
        int dayType; // whose periods were replaced
    };
    const auto cases = std::to_array<Case>({
        {"fill the selected period's day",
         [](Editor& e) {
             SelectRow(e, 5);
             e.View.SetTimeFrom00to24(e.Host, e.SurfaceVariable);
         },
         5},
        {"paste over it",
         [](Editor& e) {
             SelectRow(e, 6);
             e.Schedule.Copy();
             SelectRow(e, 5);
             e.View.Paste(e.Host, e.SurfaceVariable);
         },
         5},
        {"its day joins the group",
         [](Editor& e) {
             SelectRow(e, 5);
             e.View.Group(e.Host, e.SurfaceVariable);
         },
         5},
        {"the group takes Monday's periods",
         [](Editor& e) {
             e.Host.MonFriChecked = 0;
             e.View.GroupMonFri(e.Host, e.SurfaceVariable);
         },
         1},
    });
    for (const auto& c : cases) {
        // Tuesday out of the group with a period of its own; Saturday and Sunday
        // with periods; Tuesday's or Saturday's period selected.
        Editor e(ScheduleBuilder()
                     .Grouped(0)
                     .Period(0, 420, 960)
                     .Period(1, 100, 200)
                     .Period(5, 100, 200)
                     .Period(6, 300, 400));
        e.Click(Editor::X(150), Editor::Y(c.dayType));
        ASSERT_NE(e.Schedule.SelectedPeriod(), nullptr) << c.what;
        e.Host.ClearCalls();
        c.edit(e);
        EXPECT_EQ(e.Schedule.SelectedPeriod(), nullptr) << c.what;
        EXPECT_EQ(e.Host.LastText("Set_Text_Schedule_Period_Start"), "") << c.what;
        EXPECT_EQ(e.Host.LastText("Set_Text_Schedule_Period_Stop"), "") << c.what;
        // The boxes are emptied once, before the row is repainted.
        const auto names = e.Host.CallNames();
        const auto start = std::find(names.begin(), names.end(), "Set_Text_Schedule_Period_Start");
        EXPECT_EQ(std::count(names.begin(), names.end(), "Set_Text_Schedule_Period_Start"), 1) << c.what;
        EXPECT_TRUE(start != names.end() && start + 1 != names.end() &&
                    *(start + 1) == "Set_Text_Schedule_Period_Stop")
            << c.what;

        // What the user types next edits nothing.
        const std::string before = e.Schedule.ComposePeriodArray();
        e.Host.StartText = "08:00";
        e.Host.StopText = "09:00";
        e.View.ExtractTimeFromTextboxes(e.Host, e.SurfaceVariable);
        EXPECT_EQ(e.Schedule.ComposePeriodArray(), before) << c.what;
    }
}

TEST(Group, SaturdayJoinsTakingTheLowestMembersPeriodsAndLeavesKeepingThem) {
    Editor e(WorkingWeek().Period(5, 0, 100));
    SelectRow(e, 5);
    e.View.Group(e.Host, e.SurfaceVariable);
    EXPECT_EQ(e.Schedule.GetGrouped(5), -1);
    EXPECT_EQ(Times(e.Schedule, 5), (Times_t{{420, 960}}));
    EXPECT_NE(e.Schedule.Periods(5).Item(1), e.Schedule.Periods(0).Item(1));
    EXPECT_EQ(e.Schedule.SelectedDayType(), 5);
    e.View.Group(e.Host, e.SurfaceVariable);
    EXPECT_EQ(e.Schedule.GetGrouped(5), 0);
    EXPECT_EQ(Times(e.Schedule, 5), (Times_t{{420, 960}}));
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{420, 960}}));
    EXPECT_EQ(e.Schedule.GetGrouped(0), -1);
    EXPECT_EQ(e.Host.CallNames(), (std::vector<std::string>(2, "Get_Check_TimeSchedule_ViewDayType")));
}

TEST(Group, AFirstMemberKeepsItsPeriodsAndAFileFlagOfOneCountsAsAMember) {
    Editor e(ScheduleBuilder().Period(5, 0, 100).Grouped(6, 1).Period(6, 200, 300));
    SelectRow(e, 5);
    // Sunday's flag 1 counts as a member: Saturday takes Sunday's periods.
    e.View.Group(e.Host, e.SurfaceVariable);
    EXPECT_EQ(Times(e.Schedule, 5), (Times_t{{200, 300}}));

    // Members that disagree (as a file may bring them): the lowest one gives the periods.
    Editor mixed(ScheduleBuilder().Grouped(2).Period(2, 100, 200).Grouped(4).Period(4, 300, 400));
    SelectRow(mixed, 5);
    mixed.View.Group(mixed.Host, mixed.SurfaceVariable);
    EXPECT_EQ(Times(mixed.Schedule, 5), (Times_t{{100, 200}}));

    Editor alone(ScheduleBuilder().Period(5, 0, 100));
    SelectRow(alone, 5);
    alone.View.Group(alone.Host, alone.SurfaceVariable);
    EXPECT_EQ(alone.Schedule.GetGrouped(5), -1);
    EXPECT_EQ(Times(alone.Schedule, 5), (Times_t{{0, 100}}));
}

TEST(Group, TogglesByTruthValueSoAnyFlagAFileBroughtInCanLeave) {
    struct Case {
        std::int16_t before;
        std::int16_t after;
    };
    const auto cases = std::to_array<Case>({{-1, 0}, {1, 0}, {-2, 0}, {32767, 0}, {-32768, 0}, {0, -1}});
    for (const auto& c : cases) {
        Editor e(ScheduleBuilder().Grouped(6, c.before).Period(6, 200, 300));
        SelectRow(e, 6);
        e.View.Group(e.Host, e.SurfaceVariable);
        EXPECT_EQ(e.Schedule.GetGrouped(6), c.after) << c.before;
        EXPECT_EQ(Times(e.Schedule, 6), (Times_t{{200, 300}})) << c.before;
    }
}

TEST(GroupMonFri, UncheckedGroupsExactlyMondayToFridayWithMondaysPeriods) {
    Editor e(
        ScheduleBuilder().Period(0, 420, 960).Period(1, 0, 1440).Grouped(5).Period(5, 10, 20).Grouped(9));
    e.Host.MonFriChecked = 0;
    e.View.GroupMonFri(e.Host, e.SurfaceVariable);
    for (int d = 0; d < kDayTypeCount; ++d) {
        EXPECT_EQ(e.Schedule.GetGrouped(static_cast<std::int16_t>(d)), d < 5 ? -1 : 0) << d;
    }
    for (int d = 1; d < 5; ++d) {
        EXPECT_EQ(Times(e.Schedule, d), (Times_t{{420, 960}})) << d;
    }
    EXPECT_EQ(Times(e.Schedule, 5), (Times_t{{10, 20}}));
    // Asked once per day type; Monday to Friday repainted as they are set,
    // then Tuesday to Friday by the propagation, then the whole grid.
    std::vector<std::string> expected;
    for (int d = 0; d < kDayTypeCount; ++d) {
        expected.emplace_back("Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked");
        if (d < 5) {
            expected.emplace_back("Get_Check_TimeSchedule_ViewDayType");
        }
    }
    expected.insert(expected.end(), 4 + 7, "Get_Check_TimeSchedule_ViewDayType");
    EXPECT_EQ(e.Host.CallNames(), expected);
}

TEST(GroupMonFri, CheckedDissolvesTheGroupAndKeepsEveryPeriod) {
    Editor e(WorkingWeek().Period(1, 1000, 1100).Grouped(7));
    e.Host.MonFriChecked = -1;
    e.View.GroupMonFri(e.Host, e.SurfaceVariable);
    for (int d = 0; d < kDayTypeCount; ++d) {
        EXPECT_EQ(e.Schedule.GetGrouped(static_cast<std::int16_t>(d)), 0) << d;
    }
    EXPECT_EQ(Times(e.Schedule, 1), (Times_t{{420, 960}, {1000, 1100}}));
}

TEST(Paste, CopiesTheCopiedDayTypesCurrentPeriodsAndGroupFlag) {
    Editor e(WorkingWeek().Period(6, 100, 200));
    SelectRow(e, 0);
    e.Schedule.Copy();
    EXPECT_EQ(e.Schedule.CopiedDayType(), 0);
    // Monday changes after the copy; the paste takes Monday as it is then.
    e.Host.StartText = "06:00";
    e.Host.StopText = "08:00";
    e.Click(Editor::X(600), Editor::Y(0));
    e.View.ExtractTimeFromTextboxes(e.Host, e.SurfaceVariable);
    SelectRow(e, 6);
    e.View.Paste(e.Host, e.SurfaceVariable);
    EXPECT_EQ(Times(e.Schedule, 6), (Times_t{{360, 480}}));
    EXPECT_EQ(e.Schedule.GetGrouped(6), -1);
    EXPECT_NE(e.Schedule.Periods(6).Item(1), e.Schedule.Periods(0).Item(1));
    EXPECT_EQ(e.Schedule.SelectedDayType(), 6);
    EXPECT_EQ(e.Schedule.CopiedDayType(), 0);
    // Not propagated to the other members.
    EXPECT_EQ(e.Host.CallNames(), (std::vector<std::string>{"Get_Check_TimeSchedule_ViewDayType"}));
    // Pasting again gives the same result.
    e.View.Paste(e.Host, e.SurfaceVariable);
    EXPECT_EQ(Times(e.Schedule, 6), (Times_t{{360, 480}}));
}

TEST(Paste, WithNothingCopiedOrOntoItselfChangesNothing) {
    Editor e(WorkingWeek().Period(6, 100, 200));
    SelectRow(e, 6);
    e.View.Paste(e.Host, e.SurfaceVariable); // nothing copied
    e.Schedule.Copy();
    e.View.Paste(e.Host, e.SurfaceVariable); // onto itself
    EXPECT_EQ(Times(e.Schedule, 6), (Times_t{{100, 200}}));
    EXPECT_EQ(e.Schedule.GetGrouped(6), 0);
    EXPECT_TRUE(e.Host.Calls().empty());
}

TEST(EditingOperations, AHostLackingANameFailsAtThatCallKeepingEarlierChanges) {
    Editor e(ScheduleBuilder().Period(0, 100, 200).Period(0, 300, 400));
    e.Click(Editor::X(150), Editor::Y(0));
    RecordingHost lacking(false);
    EXPECT_THROW(e.View.Delete(lacking, e.SurfaceVariable), HostCallError);
    // The selected first period was removed before the failing call.
    EXPECT_EQ(Times(e.Schedule, 0), (Times_t{{300, 400}}));
    EXPECT_EQ(lacking.CallNames(), (std::vector<std::string>{"Set_Text_Schedule_Period_Start"}));

    EXPECT_THROW(e.View.GroupMonFri(lacking, e.SurfaceVariable), HostCallError);
}

} // namespace
} // namespace velmar::test
