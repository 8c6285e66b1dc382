#include "common/Errors.h"
#include "schedule/PeriodArray.h"
#include "schedule/TimeSchedule.h"

#include <gtest/gtest.h>

namespace velmar {
namespace {

// A schedule whose day type 0 holds the given periods in this order.
cTimeSchedule WithPeriods(std::initializer_list<std::pair<std::int16_t, std::int16_t>> periods) {
    std::string text;
    auto put = [&text](std::int16_t value) { text += IntegerToChars(value); };
    for (int d = 0; d < kDayTypeCount; ++d) {
        put(d < 7 ? -1 : 0);
        put(0);
        put(static_cast<std::int16_t>(d == 0 ? periods.size() : 0));
        if (d == 0) {
            for (const auto& [start, stop] : periods) {
                put(start);
                put(stop);
            }
        }
        put(0);
    }
    put(0);
    cTimeSchedule schedule;
    schedule.ExtractPeriodArray(text);
    return schedule;
}

TEST(TimeSchedule, NewScheduleUsesTheWeekdaysOnly) {
    const cTimeSchedule schedule;
    for (std::int16_t d = 0; d < kDayTypeCount; ++d) {
        EXPECT_EQ(schedule.GetActive(d), d < 7 ? -1 : 0) << d;
        EXPECT_EQ(schedule.GetGrouped(d), 0);
        EXPECT_EQ(schedule.Periods(d).Count(), 0);
    }
    EXPECT_EQ(schedule.m_UseCalendar, 0);
    EXPECT_EQ(schedule.m_NumberOfAxisToPaint, 0);
    EXPECT_EQ(schedule.SelectedDayType(), -1);
    EXPECT_EQ(schedule.CopiedDayType(), -1);
    EXPECT_EQ(schedule.SelectedPeriod(), nullptr);
}

TEST(TimeSchedule, SetActiveStoresMinusOneForAnyNonZeroState) {
    cTimeSchedule schedule;
    EXPECT_EQ(schedule.SetActive(3, 5), 0);
    EXPECT_EQ(schedule.GetActive(3), -1);
    EXPECT_EQ(schedule.SetActive(3, 0), 0);
    EXPECT_EQ(schedule.GetActive(3), 0);
    EXPECT_EQ(schedule.SetActive(22, 1), 0);
    EXPECT_EQ(schedule.GetActive(22), -1);
}

TEST(TimeSchedule, DayTypesOutsideTheTableAreOutOfRange) {
    cTimeSchedule schedule;
    std::int16_t start = 0;
    std::int16_t stop = 0;
    for (const std::int16_t bad : {std::int16_t{-1}, std::int16_t{23}}) {
        EXPECT_THROW(schedule.GetActive(bad), OutOfRangeError);
        EXPECT_THROW(schedule.SetActive(bad, -1), OutOfRangeError);
        EXPECT_THROW(schedule.GetNextTimePeriod(bad, start, stop, nullptr), OutOfRangeError);
    }
}

TEST(TimeSchedule, CopyWithoutSelectionRemembersNothing) {
    cTimeSchedule schedule;
    schedule.Copy();
    EXPECT_EQ(schedule.CopiedDayType(), -1);
}

TEST(TimeSchedule, SetDefaultPeriodAddsBesideExistingPeriods) {
    cTimeSchedule schedule = WithPeriods({{0, 60}});
    schedule.SetDefaultPeriod();
    ASSERT_EQ(schedule.Periods(0).Count(), 2);
    EXPECT_EQ(schedule.Periods(0).Item(1)->m_StopMinute, 60);
    EXPECT_EQ(schedule.Periods(0).Item(2)->m_StartMinute, 420);
    EXPECT_EQ(schedule.Periods(0).Item(2)->m_StopMinute, 960);
    for (std::int16_t d = 0; d < 5; ++d) {
        EXPECT_EQ(schedule.GetGrouped(d), -1);
    }
    EXPECT_EQ(schedule.GetGrouped(5), 0);
    EXPECT_EQ(schedule.Periods(5).Count(), 0);
    EXPECT_NE(schedule.Periods(0).Item(2), schedule.Periods(1).Item(1)); // every day type has its own object
}

TEST(GetNextTimePeriod, WalksStoredOrderByIdentity) {
    cTimeSchedule schedule = WithPeriods({{420, 600}, {780, 960}});
    std::int16_t start = -7;
    std::int16_t stop = -7;
    const PeriodPtr first = schedule.GetNextTimePeriod(0, start, stop, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, schedule.Periods(0).Item(1)); // the stored object itself
    EXPECT_EQ(start, 420);
    EXPECT_EQ(stop, 600);
    const PeriodPtr second = schedule.GetNextTimePeriod(0, start, stop, first);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(start, 780);
    EXPECT_EQ(stop, 960);
    EXPECT_EQ(schedule.GetNextTimePeriod(0, start, stop, second), nullptr);
    EXPECT_EQ(start, 780); // unchanged when nothing follows
    EXPECT_EQ(stop, 960);

    auto twin = std::make_shared<cTimeSchedulePeriod>(*first); // equal times, another object
    EXPECT_EQ(schedule.GetNextTimePeriod(0, start, stop, twin), nullptr);
    EXPECT_EQ(schedule.GetNextTimePeriod(1, start, stop, nullptr), nullptr); // in use, no periods

    schedule.SetActive(0, 0);
    EXPECT_EQ(schedule.GetNextTimePeriod(0, start, stop, nullptr), nullptr);
}

TEST(GetNextTimePeriod, ReturnsPeriodsOutOfTimeOrderAsStored) {
    cTimeSchedule schedule = WithPeriods({{900, 1000}, {100, 50}, {2000, -5}});
    std::int16_t start = 0;
    std::int16_t stop = 0;
    std::vector<std::pair<int, int>> seen;
    for (PeriodPtr p = schedule.GetNextTimePeriod(0, start, stop, nullptr); p != nullptr;
         p = schedule.GetNextTimePeriod(0, start, stop, p)) {
        seen.emplace_back(start, stop);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{900, 1000}, {100, 50}, {2000, -5}}));
}

TEST(TimeSchedule, ARemovedPeriodStaysValidForItsHolder) {
    cTimeSchedule schedule = WithPeriods({{420, 600}});
    std::int16_t start = 0;
    std::int16_t stop = 0;
    const PeriodPtr held = schedule.GetNextTimePeriod(0, start, stop, nullptr);
    schedule.ExtractPeriodArray(cTimeSchedule().ComposePeriodArray()); // replaces every collection
    EXPECT_EQ(schedule.Periods(0).Count(), 0);
    EXPECT_EQ(held->m_StartMinute, 420);
    EXPECT_EQ(held->m_StopMinute, 600);
}

} // namespace
} // namespace velmar
