// Day offsets, weekdays, week numbers and the standard-library date services
// the calendar's month view is dated by.

#include "common/Errors.h"
#include "platform/StdDateServices.h"

#include <array>
#include <gtest/gtest.h>

namespace velmar {
namespace {

TEST(DayOffsetTest, CountsDaysFromJanuary2000AndRollsMonthsAndDaysOver) {
    struct Case {
        std::int64_t year, month, day, offset;
    };
    const auto cases = std::to_array<Case>({
        {2000, 1, 1, 0},
        {2039, 12, 31, 14609},
        {2040, 1, 1, 14610},
        {1999, 12, 31, -1},
        {2000, 3, 1, 60},
        {2010, 3, 1, 3712},
        {2000, 13, 1, 366},
        {2000, 0, 1, -31},
        {2000, -11, 1, -365},
        {2001, 25, 1, 1096},
        {2000, 2, 30, 60},
        {2000, 3, 0, 59},
        {1900, 3, 1, -36465}, // 1900 is not a leap year
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
        EXPECT_EQ(DayOffsetOf(c.year, c.month, c.day), c.offset);
    }
}

TEST(DayOffsetTest, DatesAndOffsetsRoundTrip) {
    for (std::int64_t offset = -800; offset <= 15400; ++offset) {
        const CivilDate date = DateOfDayOffset(offset);
        ASSERT_EQ(DayOffsetOf(date), offset) << date.Year << "-" << date.Month << "-" << date.Day;
        ASSERT_GE(date.Day, 1);
        ASSERT_LE(date.Day, 31);
    }
    EXPECT_EQ(DateOfDayOffset(14609), (CivilDate{2039, 12, 31}));
    EXPECT_EQ(DateOfDayOffset(59), (CivilDate{2000, 2, 29}));
}

TEST(DayOffsetTest, WeekdaysCountFromMonday) {
    EXPECT_EQ(WeekdayMondayFirst(0), 5);                         // 2000-01-01, a Saturday
    EXPECT_EQ(WeekdayMondayFirst(DayOffsetOf(2000, 10, 1)), 6);  // a Sunday
    EXPECT_EQ(WeekdayMondayFirst(DayOffsetOf(2010, 2, 1)), 0);   // a Monday
    EXPECT_EQ(WeekdayMondayFirst(-1), 4);                        // 1999-12-31, a Friday
    EXPECT_EQ(WeekdayMondayFirst(DayOffsetOf(1999, 12, 27)), 0); // before the epoch too
}

TEST(WeekNumberTest, FollowsTheRuleAndTheFirstDayOfTheWeek) {
    struct Case {
        int year, month, day;
        int firstDay;
        FirstWeekRule rule;
        int week;
    };
    constexpr auto Iso = FirstWeekRule::FirstFourDays;
    constexpr auto Jan1 = FirstWeekRule::Jan1;
    constexpr auto Full = FirstWeekRule::FirstFullWeek;
    const auto cases = std::to_array<Case>({
        {2010, 3, 1, 0, Iso, 9},
        {2010, 3, 8, 0, Iso, 10},
        {2010, 1, 1, 0, Iso, 53},
        {2009, 12, 31, 0, Iso, 53},
        {2008, 12, 29, 0, Iso, 1},
        {2000, 1, 1, 0, Iso, 52},
        {2000, 1, 3, 0, Iso, 1},
        {2004, 12, 31, 0, Iso, 53},
        {2039, 12, 31, 0, Iso, 52},
        {2027, 1, 1, 0, Iso, 53},
        {2010, 3, 1, 6, Jan1, 10},
        {2010, 1, 1, 6, Jan1, 1},
        {2010, 12, 31, 6, Jan1, 1},
        {2010, 12, 25, 6, Jan1, 52},
        {2000, 1, 1, 6, Jan1, 1},
        {2000, 1, 2, 6, Jan1, 2},
        {2010, 1, 4, 0, Full, 1},
        {2010, 1, 3, 0, Full, 52},
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.year << "-" << c.month << "-" << c.day << " first day " << c.firstDay);
        EXPECT_EQ(WeekNumberOf(DayOffsetOf(c.year, c.month, c.day), c.firstDay, c.rule), c.week);
    }
    EXPECT_THROW(WeekNumberOf(0, 7, Iso), InvalidArgumentError);
}

TEST(StdDateServicesTest, SettingsPinTodayNamesAndRules) {
    StdDateSettings settings = StdDateSettings::Swedish();
    settings.Today = CivilDate{2010, 2, 14};
    const StdDateServices swedish(settings);
    EXPECT_EQ(swedish.Today(), (CivilDate{2010, 2, 14}));
    EXPECT_EQ(swedish.MonthName(10), "oktober");
    EXPECT_EQ(swedish.WeekNumber(DayOffsetOf(2010, 1, 1)), 53);
    EXPECT_THROW(swedish.MonthName(0), InvalidArgumentError);
    EXPECT_THROW(swedish.MonthName(13), InvalidArgumentError);

    const StdDateServices american(StdDateSettings::UnitedStates());
    EXPECT_EQ(american.MonthName(2), "February");
    EXPECT_EQ(american.WeekNumber(DayOffsetOf(2010, 1, 1)), 1);
    EXPECT_EQ(american.GrayTextColour(), Rgb(128, 128, 128));
    EXPECT_EQ(american.ButtonTextColour(), Rgb(0, 0, 0));
}

TEST(StdDateServicesTest, WithoutAPinnedDateTodayIsAValidDate) {
    const CivilDate today = StdDateServices().Today();
    EXPECT_EQ(DateOfDayOffset(DayOffsetOf(today)), today);
    EXPECT_GE(today.Year, 2020);
}

} // namespace
} // namespace velmar
