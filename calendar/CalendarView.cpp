// cCalendar: the month view. A fixed grid of six weeks by seven weekdays,
// Monday first, at (30, 20) with boxes of 40 by 25, weekday headings above it
// and week numbers to its left.

#include "calendar/Calendar.h"
#include "calendar/ICalendarHost.h"
#include "common/CodePage.h"
#include "common/CommonProcedures.h"
#include "common/Errors.h"
#include "common/Numeric.h"
#include "platform/DateServices.h"
#include "platform/DrawingSurface.h"

#include <string>

namespace velmar {

namespace {

constexpr int kGridLeft = 30;
constexpr int kGridTop = 20;
constexpr int kColumnWidth = 40;
constexpr int kRowHeight = 25;
constexpr int kColumns = 7;
constexpr int kRows = 6;
constexpr int kGridRight = kGridLeft + kColumnWidth * kColumns; // 310
constexpr int kGridBottom = kGridTop + kRowHeight * kRows;      // 170
constexpr int kBoxInnerWidth = 37;
constexpr int kBoxInnerHeight = 22;
constexpr int kFirstWeekdayText = 611; // Monday; 617 is Sunday

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kPeriodEnd = Rgb(128, 128, 128);

IDrawingSurface& SurfaceOf(IDrawingSurface* surface) {
    if (surface == nullptr) {
        throw InvalidArgumentError("no picture box");
    }
    return *surface;
}

std::string YearText(std::int64_t year) {
    std::string digits = std::to_string(year < 0 ? -year : year);
    if (digits.size() < 4) {
        digits.insert(0, 4 - digits.size(), '0');
    }
    return year < 0 ? "-" + digits : digits;
}

} // namespace

void cCalendar::RecalculateAndPrepareToPaint(ICalendarHost& /*m_ParentObject*/,
                                             IDrawingSurface* /*CalendarPaintObject*/) {
    const std::int16_t month = ToInt16(m_SelectedMonth, "month");
    const std::int16_t year = ToInt16(m_SelectedYear, "year");
    // Everything is computed before any field changes, so a failure leaves the
    // calendar as it was.
    const std::int64_t first = DayOffsetOf(year, month, 1);
    const std::int64_t next = DayOffsetOf(year, month + 1, 1);
    const std::int32_t today = ToInt32(DayOffsetOf(m_DateServices->Today()), "today's day offset");

    m_ActualMonthOffset = ToInt32(first, "day offset");
    m_FirstWeekDayInActualMonth = WeekdayMondayFirst(first);
    m_DaysInActualMonth = static_cast<std::int32_t>(next - first);
    m_TodaysDayOffset = today;
    m_PaintDayType = -1;
    LastMouseDay = -1;
}

void cCalendar::Paint(ICalendarHost& m_ParentContainer, IDrawingSurface* m_CalendarPaintObject) {
    IDrawingSurface& box = SurfaceOf(m_CalendarPaintObject);

    box.SetFontBold(true);
    const double h = RoundHalfEven(box.TextHeight("8"));

    // The grid: white highlight lines first, each one pixel right of or below
    // its black partner.
    for (int k = 0; k <= kColumns; ++k) {
        const double x = kGridLeft + 1 + kColumnWidth * k;
        box.Line(x, 16 - h, x, kGridBottom, kWhite);
    }
    box.Line(kGridLeft, 16 - h, kGridRight, 16 - h, kWhite);
    for (int k = 0; k <= kRows; ++k) {
        const double y = kGridTop + 1 + kRowHeight * k;
        box.Line(kGridLeft, y, kGridRight, y, kWhite);
    }
    for (int k = 0; k <= kColumns; ++k) {
        const double x = kGridLeft + kColumnWidth * k;
        box.Line(x, 16 - h, x, kGridBottom, kBlack);
    }
    box.Line(kGridLeft, 15 - h, kGridRight, 15 - h, kBlack);
    for (int k = 0; k <= kRows; ++k) {
        const double y = kGridTop + kRowHeight * k;
        box.Line(kGridLeft, y, kGridRight, y, kBlack);
    }

    // Weekday headings in bold: the first three characters of the weekday
    // texts, so an empty text table shows "Inv" from its fallback text.
    box.SetCurrentY(static_cast<float>(18 - h));
    for (int j = 0; j < kColumns; ++j) {
        const std::string heading = Utf8Left(GetText(kFirstWeekdayText + j), 3);
        box.SetCurrentX(static_cast<float>(kGridLeft + kColumnWidth * j) +
                        (kColumnWidth - box.TextWidth(heading)) / 2);
        box.Print(heading);
    }

    // The caption "mmmm yyyy" is shown by the host, not drawn.
    const CivilDate firstDay = DateOfDayOffset(m_ActualMonthOffset);
    m_ParentContainer.Set_Text_Calendar_Month(m_DateServices->MonthName(firstDay.Month) + " " +
                                              YearText(firstDay.Year));

    box.SetFontBold(false);
    box.SetForeColor(m_DateServices->GrayTextColour());

    // Week numbers of day 7j + 1, which always lies in row j; past the end of
    // the month the date runs on into the next month, so every row is numbered.
    for (int j = 0; j < kRows; ++j) {
        box.SetCurrentX(kGridLeft - box.TextWidth("88") - 6);
        box.SetCurrentY(static_cast<float>(kGridTop + kRowHeight * j) +
                        (kRowHeight - box.TextHeight("A")) / 2);
        box.Print(std::to_string(
            m_DateServices->WeekNumber(static_cast<std::int64_t>(m_ActualMonthOffset) + 7LL * j)));
    }

    box.SetForeColor(m_DateServices->ButtonTextColour());
    for (std::int32_t day = 0; day < m_DaysInActualMonth; ++day) {
        PaintDateBox(m_ParentContainer, m_CalendarPaintObject, day);
    }
}

void cCalendar::PaintDateBox(ICalendarHost& m_ParentContainer, IDrawingSurface* m_CalendarPaintObject,
                             std::int32_t DateToPaintInActualMonth) {
    IDrawingSurface& box = SurfaceOf(m_CalendarPaintObject);
    const std::int64_t cell =
        static_cast<std::int64_t>(DateToPaintInActualMonth) + m_FirstWeekDayInActualMonth;
    const std::int64_t row = cell / kColumns;
    const std::int64_t column = cell % kColumns;
    const auto bx = static_cast<double>(kGridLeft + kColumnWidth * column);
    const auto by = static_cast<double>(kGridTop + kRowHeight * row);
    const long long offset = static_cast<long long>(m_ActualMonthOffset) + DateToPaintInActualMonth;

    box.FillRect(bx + 2, by + 2, kBoxInnerWidth, kBoxInnerHeight, box.BackColor());
    const int bandHeight = m_ShowTimeAxis != 0 ? 16 : 22;

    // Sundays and holidays with a label shown in calendars get the red band.
    // The holiday flag is read first, so a date outside the table fails here,
    // right after its box was cleared, whatever its weekday.
    const bool holiday = HolidayFlags[offset] != 0;
    bool marked = column == 6;
    if (holiday && !marked) {
        for (const auto& label : HolidayLabels) {
            if (label && label->m_ViewInCalendar != 0) {
                marked = true;
                break;
            }
        }
    }
    if (marked) {
        for (int i = 0; i < bandHeight; ++i) {
            box.LineBy(bx + 2, by + 2 + i, 14, 0, Rgb(255, 192 - 3 * i, 192 - 3 * i));
        }
    }
    // Today's band covers a red one.
    if (offset == m_TodaysDayOffset) {
        for (int i = 0; i < bandHeight; ++i) {
            box.LineBy(bx + 2, by + 2 + i, 14, 0, Rgb(0, 255 - 3 * i, 255));
        }
    }

    box.SetCurrentX(static_cast<float>(bx + 2));
    box.SetCurrentY(static_cast<float>(by + 2));
    box.SetForeColor(m_DateServices->GrayTextColour());
    box.Print(std::to_string(static_cast<long long>(DateToPaintInActualMonth) + 1));
    box.SetForeColor(m_DateServices->ButtonTextColour());

    const std::int16_t code = m_DayTypes[offset];
    if (code >= 1 && code <= 7) {
        // The name of a weekday day type, right-aligned on the day number's line.
        const std::string& name = DayTypeNames[code - 1];
        box.SetCurrentX(static_cast<float>(bx + kColumnWidth) - box.TextWidth(name) - 2);
        box.Print(name, true);
    } else if (code >= 8 && code <= 23) {
        m_ParentContainer.Draw_ImageList_ListImages(static_cast<std::int16_t>(code - 7), box.hDC(), bx + 30,
                                                    static_cast<std::int32_t>(by + 2), std::int32_t{1});
    }

    if (m_ShowTimeAxis == 0 || !m_AssociatedTimeSchedule) {
        return;
    }
    const cTimeSchedule& schedule = *m_AssociatedTimeSchedule;
    // The schedule day type that governs the date: the code's when the schedule
    // uses it, else the weekday's. A code outside 0..23 is handed on as it is and
    // the schedule refuses it with OutOfRangeError.
    auto dayType = static_cast<std::int16_t>(column);
    if (code != 0 && schedule.GetActive(static_cast<std::int16_t>(code - 1)) != 0) {
        dayType = static_cast<std::int16_t>(code - 1);
    }
    for (int i = 0; i < 5; ++i) {
        const int grey = 220 - 20 * i;
        box.Line(bx + 2, by + 19 + i, bx + 39, by + 19 + i, Rgb(grey, grey, grey));
    }
    std::int16_t start = 0;
    std::int16_t stop = 0;
    for (PeriodPtr period = schedule.GetNextTimePeriod(dayType, start, stop, nullptr); period;
         period = schedule.GetNextTimePeriod(dayType, start, stop, period)) {
        const double xs = RoundHalfEven(bx + 2 + start * 37.0 / 1440.0);
        const double xe = RoundHalfEven(bx + 2 + stop * 37.0 / 1440.0);
        for (int i = 0; i < 5; ++i) {
            box.Line(xs, by + 19 + i, xe, by + 19 + i, Rgb(0, 240 - 19 * i, 0));
        }
        box.Line(xs, by + 19, xs, by + 24, kPeriodEnd);
        box.Line(xe, by + 19, xe, by + 24, kPeriodEnd);
    }
}

} // namespace velmar
