// The desktop's date services: names and week rules of the locale.

#include "platform/qt/QtDateServices.h"

#include <QPalette>
#include <gtest/gtest.h>

namespace velmar {
namespace {

TEST(QtDateServicesTest, SwedishLocaleNamesMonthsInSwedishAndNumbersWeeksByIso) {
    const QtDateServices services(QLocale(QLocale::Swedish, QLocale::Sweden), QDate(2000, 10, 1));
    EXPECT_EQ(services.Today(), (CivilDate{2000, 10, 1}));
    EXPECT_EQ(services.MonthName(10), "oktober");
    EXPECT_EQ(services.MonthName(3), "mars");
    EXPECT_EQ(services.FirstDayOfWeek(), 0);
    EXPECT_EQ(services.WeekNumber(DayOffsetOf(2010, 3, 1)), 9);
    EXPECT_EQ(services.WeekNumber(DayOffsetOf(2010, 3, 8)), 10);
    EXPECT_EQ(services.WeekNumber(DayOffsetOf(2010, 1, 1)), 53);
}

TEST(QtDateServicesTest, SundayFirstLocaleCountsFromTheWeekOfJanuary1) {
    const QtDateServices services(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(services.MonthName(2), "February");
    EXPECT_EQ(services.FirstDayOfWeek(), 6);
    EXPECT_EQ(services.WeekNumber(DayOffsetOf(2010, 3, 1)), 10);
    EXPECT_EQ(services.WeekNumber(DayOffsetOf(2010, 12, 31)), 1);
    const CivilDate today = services.Today();
    EXPECT_EQ(DateOfDayOffset(DayOffsetOf(today)), today);
}

TEST(QtDateServicesTest, SystemColoursComeFromThePalette) {
    const QtDateServices services;
    const QPalette palette;
    const QColor grey = palette.color(QPalette::Disabled, QPalette::Text);
    EXPECT_EQ(services.GrayTextColour(), Rgb(grey.red(), grey.green(), grey.blue()));
    EXPECT_NE(services.GrayTextColour(), services.ButtonTextColour());
}

} // namespace
} // namespace velmar
