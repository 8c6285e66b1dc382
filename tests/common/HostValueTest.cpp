#include "common/HostValue.h"

#include "common/Errors.h"
#include "tests/support/RecordingHost.h"

#include <gtest/gtest.h>

namespace velmar {
namespace {

TEST(RecordingHost, RecordsEveryCallInOrderWithReferencedValues) {
    RecordingHost host(true);
    std::int32_t checked = -1;
    host.Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked(checked);
    checked = 0; // NOLINT(clang-analyzer-deadcode.DeadStores): read through the recorded reference
    host.Get_VScroll_Schedule_Width();
    ASSERT_EQ(host.CallNames(), (std::vector<std::string>{"Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked",
                                                          "Get_VScroll_Schedule_Width"}));
    EXPECT_EQ(std::get<std::int32_t>(host.Calls()[0].Values[0]), -1); // value at the time of the call
    EXPECT_EQ(*std::get<std::int32_t*>(host.Calls()[0].Arguments[0]), 0) << "the reference itself";
    EXPECT_TRUE(HostIsNothing(host.Get_VScroll_Schedule_Width()));

    RecordingHost strict;
    EXPECT_THROW(strict.Get_VScroll_Schedule_Width(), HostCallError);
    EXPECT_EQ(strict.Calls().size(), 1U); // the refused call is still on record
    strict.Answer("Get_VScroll_Schedule_Width",
                  [](RecordingHost::Arguments) -> HostValue { throw std::runtime_error("broken"); });
    EXPECT_THROW(strict.Get_VScroll_Schedule_Width(), HostCallError);
}

TEST(HostValues, ConvertLikeAutomationValues) {
    EXPECT_EQ(HostInt16(HostValue(std::string(" 42 "))), 42);
    EXPECT_EQ(HostInt16(HostValue(2.5)), 2);
    EXPECT_THROW(HostInt16(HostValue(std::string("abc"))), InvalidArgumentError);
    EXPECT_THROW(HostInt16(HostValue(40000.0)), OverflowError);
    EXPECT_THROW(HostNumber(HostValue()), InvalidArgumentError);
    EXPECT_TRUE(HostTruth(HostValue(std::int16_t{1})));
    EXPECT_FALSE(HostTruth(HostValue(std::int32_t{0})));
    EXPECT_EQ(HostText(HostValue(std::int16_t{-1})), "-1");
    EXPECT_EQ(HostText(HostValue(2.5)), "2.5");
    EXPECT_EQ(std::get<std::int32_t>(HostDifference(std::int32_t{340}, std::int16_t{16})), 324);
    EXPECT_DOUBLE_EQ(std::get<double>(HostDifference(340.5, std::int32_t{16})), 324.5);
}

} // namespace
} // namespace velmar
