// The month view: month fields, grid, headings, caption, week numbers and the
// date boxes, drawn on a recording picture box (characters 6 pixels wide,
// 13 high, so the bold "8" is h = 13 high and the heading row starts at y = 2).

#include "common/CodePage.h"
#include "common/Errors.h"
#include "tests/calendar/CalendarFixture.h"

#include <array>

namespace velmar::test {
namespace {

using Kind = SurfaceOperation::Kind;

class CalendarViewTest : public CalendarFixture {
protected:
    // Corner (bx, by) of the box of day d of the shown month.
    std::pair<int, int> Corner(int d) const {
        const int p = d + calendar.m_FirstWeekDayInActualMonth;
        return {30 + 40 * (p % 7), 20 + 25 * (p / 7)};
    }
};

TEST_F(CalendarViewTest, ComputesTheMonthFieldsAndRollsMonthsOver) {
    struct Case {
        std::int32_t year, month;
        std::int32_t offset, firstWeekDay, days;
        const char* caption;
    };
    const auto cases = std::to_array<Case>({
        {2000, 10, 274, 6, 31, "oktober 2000"},
        {2010, 2, 3684, 0, 28, "februari 2010"},
        {2000, 13, 366, 0, 31, "januari 2001"},
        {2001, 0, 335, 4, 31, "december 2000"},
        {2000, 2, 31, 1, 29, "februari 2000"},
        {2039, 12, 14579, 3, 31, "december 2039"},
        {2000, 0, -31, 2, 31, "december 1999"},
        {2000, 481, 14610, 6, 31, "januari 2040"},
    });
    Pin(CivilDate{2000, 1, 3});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month);
        Show(c.year, c.month);
        EXPECT_EQ(calendar.m_ActualMonthOffset, c.offset);
        EXPECT_EQ(calendar.m_FirstWeekDayInActualMonth, c.firstWeekDay);
        EXPECT_EQ(calendar.m_DaysInActualMonth, c.days);
        EXPECT_EQ(calendar.m_TodaysDayOffset, 2);
        EXPECT_EQ(calendar.m_SelectedMonth, c.month) << "the host's field stays as set";

        captions.clear();
        surface.ClearOperations();
        try {
            calendar.Paint(host, &surface);
        } catch (const OutOfRangeError&) {
            EXPECT_TRUE(c.offset < 0 || c.offset > 14609);
        }
        EXPECT_EQ(captions, std::vector<std::string>{c.caption});
    }
}

TEST_F(CalendarViewTest, MonthAndYearBeyond16BitsOverflowAndChangeNothing) {
    Show(2000, 10);
    for (auto [year, month] : {std::pair{2000, 40000}, std::pair{70000, 1}, std::pair{2000, -32769}}) {
        calendar.m_SelectedYear = year;
        calendar.m_SelectedMonth = month;
        EXPECT_THROW(calendar.RecalculateAndPrepareToPaint(host, &surface), OverflowError);
        EXPECT_EQ(calendar.m_ActualMonthOffset, 274);
        EXPECT_EQ(calendar.m_DaysInActualMonth, 31);
    }
}

TEST_F(CalendarViewTest, October2000StartsOnSundayAndUsesAllSixRows) {
    ShowAndPaint(2000, 10);
    EXPECT_EQ(Ops(Kind::FillRect).size(), 31u);
    EXPECT_EQ(Corner(0), std::pair(270, 20));
    EXPECT_EQ(PrintedAt(272, 22), std::vector<std::string>{"1"});
    EXPECT_EQ(Corner(30), std::pair(70, 145));
    EXPECT_EQ(PrintedAt(72, 147), std::vector<std::string>{"31"});
    const auto fills = Ops(Kind::FillRect);
    EXPECT_EQ(fills.back().Describe(), "FillRect(72,147,37,22,#ece9d8)");
}

TEST_F(CalendarViewTest, February2010FillsFourRowsAndNumbersAllSixWeeks) {
    ShowAndPaint(2010, 2);
    const auto fills = Ops(Kind::FillRect);
    ASSERT_EQ(fills.size(), 28u);
    for (const auto& fill : fills) {
        EXPECT_LT(fill.Y1, 120) << fill.Describe();
    }
    // Week numbers of 1, 8, 15, 22 February and 1 and 8 March 2010, in grey,
    // right of x = 30 - width("88") - 6 and centred in their rows.
    const std::vector<std::string> iso{"5", "6", "7", "8", "9", "10"};
    for (int j = 0; j < 6; ++j) {
        EXPECT_EQ(PrintedAt(12, 26 + 25 * j), std::vector<std::string>{iso[static_cast<std::size_t>(j)]})
            << j;
    }
    for (const auto& print : Ops(Kind::Print)) {
        if (print.X1 == 12) {
            EXPECT_EQ(print.ColourValue, kGreyText);
            EXPECT_FALSE(print.Bold);
        }
    }

    // Weeks from Sunday with week 1 holding 1 January: 1 March 2010 is week 10.
    surface.ClearOperations();
    Pin(CivilDate{2010, 2, 14}, StdDateSettings::UnitedStates());
    calendar.Paint(host, &surface);
    EXPECT_EQ(PrintedAt(12, 126), std::vector<std::string>{"10"});
    EXPECT_EQ(PrintedAt(12, 151), std::vector<std::string>{"11"});
    EXPECT_EQ(captions.back(), "February 2010");
}

TEST_F(CalendarViewTest, GridLinesHaveWhiteHighlightsOnePixelRightAndBelow) {
    ShowAndPaint(2000, 10);
    const Colour white = Rgb(255, 255, 255);
    const Colour black = Rgb(0, 0, 0);
    struct Pixel {
        int x, y;
        Colour colour;
    };
    const auto pixels = std::to_array<Pixel>({
        {30, 50, black},
        {31, 50, white},
        {29, 50, kBackground},
        {310, 50, black},
        {311, 50, white},
        {312, 50, kBackground},
        {100, 20, black},
        {100, 21, white},
        {100, 19, kBackground},
        {100, 170, black},
        {100, 171, white},
        {100, 2, black},
        {100, 3, white},
        {100, 1, kBackground},
        {30, 3, black},
        {31, 3, white},
        {30, 2, black},
        {30, 169, black},
        {309, 170, black},
        // The lines end one pixel short of their end points, so the bottom right
        // corner stays open.
        {310, 170, kBackground},
        {311, 171, kBackground},
        {310, 1, kBackground},
    });
    for (const Pixel& p : pixels) {
        EXPECT_EQ(surface.Pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
    EXPECT_FALSE(surface.FontBold());
    EXPECT_EQ(surface.ForeColor(), kButtonText);
}

TEST_F(CalendarViewTest, HeadingsAreTheFirstThreeCharactersOfTheWeekdayTexts) {
    ShowAndPaint(2000, 10);
    for (int j = 0; j < 7; ++j) {
        EXPECT_EQ(PrintedAt(41 + 40 * j, 5), std::vector<std::string>{"Inv"}) << j;
    }

    // With the weekday texts in the table, headings are cut by characters, not bytes.
    TextData = "MåndagTisdagOnsdagTorsdagFredagLördagSöndag";
    const auto names =
        std::to_array<const char*>({"Måndag", "Tisdag", "Onsdag", "Torsdag", "Fredag", "Lördag", "Söndag"});
    std::int32_t start = 1;
    for (std::int32_t j = 0; j < 7; ++j) {
        const auto length = static_cast<std::int32_t>(Utf8Length(names[j]));
        TextIndex.push_back({611 + j, start, length});
        start += length;
    }
    TextCount = 7;
    surface.ClearOperations();
    calendar.Paint(host, &surface);
    const std::vector<std::string> expected{"Mån", "Tis", "Ons", "Tor", "Fre", "Lör", "Sön"};
    std::vector<std::string> headings;
    for (const auto& print : Ops(Kind::Print)) {
        if (print.Y1 == 5) {
            headings.push_back(print.Text);
            EXPECT_TRUE(print.Bold);
        }
    }
    EXPECT_EQ(headings, expected);
}

TEST_F(CalendarViewTest, SundaysAndTodayGetTheirBandsTodayOverRed) {
    Pin(CivilDate{2000, 10, 8}); // the second Sunday
    ShowAndPaint(2000, 10);
    // 1 October: red band, 14 pixels wide, 22 lines high, each line a shade darker.
    EXPECT_EQ(surface.Pixel(272, 22), Rgb(255, 192, 192));
    EXPECT_EQ(surface.Pixel(285, 22), Rgb(255, 192, 192));
    EXPECT_EQ(surface.Pixel(272, 43), Rgb(255, 129, 129));
    EXPECT_EQ(surface.Pixel(286, 22), kBackground);
    EXPECT_EQ(surface.Pixel(271, 22), Rgb(255, 255, 255)) << "the white grid line left of the box";
    // 8 October is today and a Sunday: the blue band covers the red one.
    EXPECT_EQ(surface.Pixel(272, 47), Rgb(0, 255, 255));
    EXPECT_EQ(surface.Pixel(285, 68), Rgb(0, 192, 255));
    EXPECT_EQ(surface.Pixel(286, 47), kBackground);
    // A Monday is not marked.
    EXPECT_EQ(surface.Pixel(32, 47), kBackground);
    // The day number is printed in grey over the band.
    EXPECT_EQ(PrintedAt(272, 47), std::vector<std::string>{"8"});
}

TEST_F(CalendarViewTest, HolidaysAreRedOnlyWhenSomeLabelIsShownInCalendars) {
    const std::int32_t monday2 = Offset(2000, 10, 2);
    AddHoliday(monday2, "Hidden", false);
    ShowAndPaint(2000, 10);
    EXPECT_EQ(surface.Pixel(32, 47), kBackground) << "a flag whose labels are all hidden";

    AddHoliday(Offset(2000, 10, 20), "Shown", true);
    surface.Clear();
    calendar.Paint(host, &surface);
    EXPECT_EQ(surface.Pixel(32, 47), Rgb(255, 192, 192)) << "any shown label turns every flagged date red";
    EXPECT_EQ(surface.Pixel(72, 47), kBackground) << "an unflagged Tuesday";
}

TEST_F(CalendarViewTest, DayTypeCodesShowANameAnImageOrNothing) {
    DayTypeNames[2] = "Ons";
    const std::int32_t first = Offset(2000, 10, 1);
    calendar.SetDayType(first + 1, 3);  // 2 Oct, Monday box at (30, 45)
    calendar.SetDayType(first + 2, 9);  // 3 Oct, Tuesday box at (70, 45)
    calendar.SetDayType(first + 3, 23); // 4 Oct, Wednesday box at (110, 45)
    calendar.SetDayType(first + 4, 24); // outside the codes: nothing
    calendar.SetDayType(first + 5, -1); // nothing
    ShowAndPaint(2000, 10);

    // The name is right-aligned: x = bx + 40 - width - 2, on the day number's line, ending it.
    bool found = false;
    for (const auto& print : Ops(Kind::Print)) {
        if (print.Text == "Ons") {
            found = true;
            EXPECT_EQ(print.X1, 30 + 40 - 18 - 2);
            EXPECT_EQ(print.Y1, 47);
            EXPECT_TRUE(print.EndLine);
            EXPECT_EQ(print.ColourValue, kButtonText);
        }
    }
    EXPECT_TRUE(found);

    std::vector<std::vector<HostValue>> images;
    for (const auto& call : host.Calls()) {
        if (call.Name == "Draw_ImageList_ListImages") {
            images.push_back(call.Arguments);
        }
    }
    ASSERT_EQ(images.size(), 2u);
    const std::vector<HostValue> tuesday{std::int16_t{2}, RecordingSurface::kDeviceContext, 100.0,
                                         std::int32_t{47}, std::int32_t{1}};
    EXPECT_EQ(images[0], tuesday);
    EXPECT_EQ(std::get<std::int16_t>(images[1][0]), 16);
    EXPECT_EQ(std::get<double>(images[1][2]), 140.0);
}

TEST_F(CalendarViewTest, TimeAxisShowsThePeriodsOfTheGoverningDayType) {
    // Monday: the whole day; Tuesday: 12:00-13:00; day type 8 not in use.
    calendar.m_AssociatedTimeSchedule = MakeSchedule({{0, {true, {{0, 1440}}}},
                                                      {1, {true, {{720, 780}}}},
                                                      {8, {false, {{60, 120}}}},
                                                      {9, {true, {{1440, 0}}}}});
    calendar.m_ShowTimeAxis = -1;
    calendar.SetDayType(Offset(2000, 10, 9), 9);  // a Monday whose day type 8 is not in use
    calendar.SetDayType(Offset(2000, 10, 11), 2); // a Wednesday that follows Tuesday
    Pin(CivilDate{2000, 10, 1});
    ShowAndPaint(2000, 10);

    const Colour mark = Rgb(128, 128, 128);
    auto bar = [](int i) { return Rgb(0, 240 - 19 * i, 0); };
    auto axis = [](int i) { return Rgb(220 - 20 * i, 220 - 20 * i, 220 - 20 * i); };

    // Monday 2 October (30, 45): 0 to 1440 spans bx + 2 to bx + 39.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(surface.Pixel(32, 64 + i), mark) << i;
        EXPECT_EQ(surface.Pixel(33, 64 + i), bar(i)) << i;
        EXPECT_EQ(surface.Pixel(68, 64 + i), bar(i)) << i;
        EXPECT_EQ(surface.Pixel(69, 64 + i), mark) << i;
    }
    EXPECT_EQ(surface.Pixel(69, 69), kBackground);

    // Tuesday 3 October (70, 45): 720 to 780 spans bx + 20 (20.5 rounds to even) to bx + 22.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(surface.Pixel(89, 64 + i), axis(i)) << i;
        EXPECT_EQ(surface.Pixel(90, 64 + i), mark) << i;
        EXPECT_EQ(surface.Pixel(91, 64 + i), bar(i)) << i;
        EXPECT_EQ(surface.Pixel(92, 64 + i), mark) << i;
        EXPECT_EQ(surface.Pixel(93, 64 + i), axis(i)) << i;
    }
    // Code 9 on Monday 9 October (30, 70): day type 8 is not in use, so the Monday periods show.
    EXPECT_EQ(surface.Pixel(33, 89), bar(0));
    // Code 2 on Wednesday 11 October (110, 70): Tuesday's periods.
    EXPECT_EQ(surface.Pixel(131, 89), bar(0));
    EXPECT_EQ(surface.Pixel(113, 89), axis(0));
    // Thursday 5 October (150, 45): no periods, only the grey axis up to bx + 38.
    EXPECT_EQ(surface.Pixel(152, 64), axis(0));
    EXPECT_EQ(surface.Pixel(188, 68), axis(4));
    EXPECT_EQ(surface.Pixel(189, 64), kBackground);
    // Bands are 16 lines high with the axis: Sunday 1 October (270, 20).
    EXPECT_EQ(surface.Pixel(272, 37), Rgb(0, 210, 255));
    EXPECT_EQ(surface.Pixel(272, 38), kBackground);
}

TEST_F(CalendarViewTest, AStartAfterItsStopAndAnActiveSpecialDayTypeAreDrawnAsStored) {
    calendar.m_AssociatedTimeSchedule = MakeSchedule({{9, {true, {{1440, 0}}}}});
    calendar.m_ShowTimeAxis = -1;
    calendar.SetDayType(Offset(2000, 10, 2), 10);
    Show(2000, 10);
    calendar.PaintDateBox(host, &surface, 1);
    // The bar runs from bx + 39 back to bx + 2: the line is drawn from its start.
    std::vector<std::string> bars;
    for (const auto& line : Ops(Kind::Line)) {
        if (line.ColourValue == Rgb(0, 240, 0)) {
            bars.push_back(line.Describe());
        }
    }
    EXPECT_EQ(bars, std::vector<std::string>{"Line(69,64,32,64,#00f000)"});
}

TEST_F(CalendarViewTest, TimeAxisWithoutAScheduleOnlyShortensTheBands) {
    calendar.m_ShowTimeAxis = -1;
    ShowAndPaint(2000, 10);
    EXPECT_EQ(surface.Pixel(272, 37), Rgb(255, 147, 147));
    EXPECT_EQ(surface.Pixel(272, 38), kBackground);
    EXPECT_EQ(surface.Pixel(33, 64), kBackground);
}

TEST_F(CalendarViewTest, FailuresReachTheHost) {
    // A month outside the table: everything up to the first date box is drawn,
    // that box is cleared, and then the table refuses the date.
    Show(1999, 12);
    EXPECT_THROW(calendar.Paint(host, &surface), OutOfRangeError);
    EXPECT_EQ(Ops(Kind::FillRect).size(), 1u);
    EXPECT_EQ(captions, std::vector<std::string>{"december 1999"});
    EXPECT_EQ(PrintedAt(12, 26).size(), 1u) << "week numbers were drawn";

    // A host without the image list.
    RecordingHost bare;
    bare.Answer("Set_Text_Calendar_Month", [](RecordingHost::Arguments) { return HostValue{}; });
    calendar.SetDayType(Offset(2000, 10, 5), 12);
    Show(2000, 10);
    surface.ClearOperations();
    EXPECT_THROW(calendar.Paint(bare, &surface), HostCallError);
    EXPECT_EQ(Ops(Kind::FillRect).size(), 5u) << "painting stopped at 5 October";
    RecordingHost none;
    EXPECT_THROW(calendar.Paint(none, &surface), HostCallError);

    // A code outside 0..23 with the time axis on reaches the schedule as day type 23.
    calendar.SetDayType(Offset(2000, 10, 5), 24);
    calendar.m_AssociatedTimeSchedule = MakeSchedule({});
    calendar.m_ShowTimeAxis = -1;
    EXPECT_THROW(calendar.PaintDateBox(host, &surface, 4), OutOfRangeError);
    calendar.SetDayType(Offset(2000, 10, 5), -5);
    EXPECT_THROW(calendar.PaintDateBox(host, &surface, 4), OutOfRangeError);

    EXPECT_THROW(calendar.Paint(host, nullptr), InvalidArgumentError);
}

} // namespace
} // namespace velmar::test
