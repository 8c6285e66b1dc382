// The layout pass: rows, row indices, scroll bar and surface size.

#include "common/Errors.h"
#include "tests/schedule_view/ScheduleFixtures.h"

#include <array>
#include <gtest/gtest.h>

namespace velmar::test {
namespace {

TEST(RecalculateAndPrepareToPaint, RowsScrollMaximumAndHeight) {
    // Fields in the order of the table's columns; the padding does not matter here.
    struct Case { // NOLINT(clang-analyzer-optin.performance.Padding)
        const char* what;
        std::int16_t useCalendar;
        std::vector<int> active;
        int rows;
        int scrollMax;
        int height;
    };
    const auto cases = std::to_array<Case>({
        {"weekdays, no calendar", 0, {0, 1, 2, 3, 4, 5, 6}, 7, 0, 179},
        {"no calendar ignores what is in use", 0, {0, 1, 10, 11, 12, 13, 14, 15, 16, 17}, 7, 0, 179},
        {"no calendar, nothing in use", 0, {}, 7, 0, 179},
        {"calendar, ten in use", -1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 10, 12, 254},
        {"calendar, three in use", -1, {0, 8, 22}, 3, -16, 79},
        {"calendar, none in use", -1, {}, 0, -28, 4},
        {"calendar flag 1 counts as set", 1, {0, 1}, 2, -20, 54},
    });
    for (const auto& c : cases) {
        ScheduleBuilder b;
        for (int d = 0; d < kDayTypeCount; ++d) {
            b.Active(d, 0);
        }
        for (int d : c.active) {
            b.Active(d);
        }
        b.UseCalendar(c.useCalendar);
        cTimeSchedule schedule;
        b.Into(schedule);
        EditorHost host;
        RecordingSurface surface(10, 10);
        IDrawingSurface* variable = nullptr;
        TimeScheduleView(schedule).RecalculateAndPrepareToPaint(host, variable, &surface);
        EXPECT_EQ(schedule.m_NumberOfAxisToPaint, c.rows) << c.what;
        const auto max = host.ValuesOf("Set_VScroll_Schedule_Max");
        ASSERT_EQ(max.size(), 1u) << c.what;
        EXPECT_EQ(max[0][0], HostValue(static_cast<std::int16_t>(c.scrollMax))) << c.what;
        const auto height = host.ValuesOf("Set_Picture_TimeSchedule_Height");
        ASSERT_EQ(height.size(), 1u) << c.what;
        EXPECT_EQ(height[0][0], HostValue(std::int32_t{c.height})) << c.what;
        EXPECT_EQ(schedule.HorizontalScale(), 1.0F) << c.what;
        // An active day type's row is the number of active ones before it.
        int row = 0;
        for (int d = 0; d < kDayTypeCount; ++d) {
            EXPECT_EQ(schedule.GetAxisIndex(static_cast<std::int16_t>(d)), row)
                << c.what << " day type " << d;
            if (schedule.GetActive(static_cast<std::int16_t>(d)) != 0) {
                ++row;
            }
        }
    }
}

TEST(RecalculateAndPrepareToPaint, AnInactiveDayTypeSharesTheNextRow) {
    cTimeSchedule schedule;
    ScheduleBuilder().Active(5, 0).UseCalendar().Into(schedule);
    EditorHost host;
    IDrawingSurface* variable = nullptr;
    TimeScheduleView(schedule).RecalculateAndPrepareToPaint(host, variable, nullptr);
    EXPECT_EQ(schedule.m_NumberOfAxisToPaint, 6);
    EXPECT_EQ(schedule.GetAxisIndex(6), 5);
    EXPECT_EQ(schedule.GetAxisIndex(5), 5);
    EXPECT_EQ(schedule.GetAxisIndex(22), 6);
}

TEST(RecalculateAndPrepareToPaint, CallsTheHostInOrderWithItsOwnValues) {
    cTimeSchedule schedule;
    EditorHost host;
    // Numbers the host returns are handed on as they came.
    host.Answer("Get_Picture_TimeSchedule_Frame_ScaleHeight", [](auto) { return HostValue(200.5); });
    host.Answer("Get_VScroll_Schedule_Left", [](auto) { return HostValue(std::int32_t{300}); });
    IDrawingSurface* variable = nullptr;
    TimeScheduleView(schedule).RecalculateAndPrepareToPaint(host, variable, nullptr);
    const std::vector<std::string> names = {"Set_VScroll_Schedule_Top",
                                            "Get_Picture_TimeSchedule_Frame_ScaleWidth",
                                            "Get_VScroll_Schedule_Width",
                                            "Set_VScroll_Schedule_Left",
                                            "Get_Picture_TimeSchedule_Frame_ScaleHeight",
                                            "Set_VScroll_Schedule_Height",
                                            "Set_VScroll_Schedule_Max",
                                            "Set_Picture_TimeSchedule_Left",
                                            "Set_Picture_TimeSchedule_Top",
                                            "Get_VScroll_Schedule_Left",
                                            "Set_Picture_TimeSchedule_Width",
                                            "Set_Picture_TimeSchedule_Height"};
    ASSERT_EQ(host.CallNames(), names);
    const auto& calls = host.Calls();
    EXPECT_EQ(calls[0].Values, std::vector<HostValue>{HostValue(std::int16_t{0})});
    EXPECT_EQ(calls[3].Values, std::vector<HostValue>{HostValue(std::int32_t{324})});
    EXPECT_EQ(calls[5].Values, std::vector<HostValue>{HostValue(200.5)});
    EXPECT_EQ(calls[7].Values, std::vector<HostValue>{HostValue(std::int16_t{0})});
    EXPECT_EQ(calls[8].Values, std::vector<HostValue>{HostValue(std::int16_t{0})});
    EXPECT_EQ(calls[10].Values, std::vector<HostValue>{HostValue(std::int32_t{300})});
    for (const auto& call : calls) {
        EXPECT_EQ(call.Name.rfind("Get_", 0) == 0, call.Arguments.empty()) << call.Name;
    }
}

TEST(RecalculateAndPrepareToPaint, AdoptsTheSurfaceOnlyWhenTheCallerHasNone) {
    cTimeSchedule schedule;
    EditorHost host;
    RecordingSurface first(10, 10);
    RecordingSurface second(10, 10);
    IDrawingSurface* variable = nullptr;
    TimeScheduleView(schedule).RecalculateAndPrepareToPaint(host, variable, &first);
    EXPECT_EQ(variable, &first);
    TimeScheduleView(schedule).RecalculateAndPrepareToPaint(host, variable, &second);
    EXPECT_EQ(variable, &first);
    // The layout pass draws nothing.
    EXPECT_TRUE(first.Operations().empty());
}

TEST(RecalculateAndPrepareToPaint, AFailingCallbackEndsThePassAtThatStep) {
    cTimeSchedule schedule;
    ScheduleBuilder().Active(5, 0).UseCalendar().Into(schedule);
    EditorHost host;
    IDrawingSurface* variable = nullptr;
    TimeScheduleView(schedule).RecalculateAndPrepareToPaint(host, variable, nullptr);
    ASSERT_EQ(schedule.m_NumberOfAxisToPaint, 6);

    RecordingHost lacking(false);
    lacking.Answer("Get_Picture_TimeSchedule_Frame_ScaleWidth",
                   [](auto) { return HostValue(std::int16_t{340}); });
    lacking.Answer("Set_VScroll_Schedule_Top", [](auto) { return HostValue(); });
    EXPECT_THROW(TimeScheduleView(schedule).RecalculateAndPrepareToPaint(lacking, variable, nullptr),
                 HostCallError);
    EXPECT_EQ(lacking.CallNames(), (std::vector<std::string>{"Set_VScroll_Schedule_Top",
                                                             "Get_Picture_TimeSchedule_Frame_ScaleWidth",
                                                             "Get_VScroll_Schedule_Width"}));
    EXPECT_EQ(schedule.m_NumberOfAxisToPaint, 0);
    EXPECT_EQ(schedule.GetAxisIndex(6), 5); // not reassigned
}

TEST(RecalculateAndPrepareToPaint, AHostAnsweringNothingStillGetsALayout) {
    cTimeSchedule schedule;
    RecordingHost host(true);
    IDrawingSurface* variable = nullptr;
    TimeScheduleView(schedule).RecalculateAndPrepareToPaint(host, variable, nullptr);
    EXPECT_EQ(schedule.m_NumberOfAxisToPaint, 7);
    EXPECT_EQ(host.Calls()[3].Values, std::vector<HostValue>{HostValue(std::int32_t{0})});
}

} // namespace
} // namespace velmar::test
