// The grid view of a schedule: the layout pass and the painting.

#include "schedule_view/TimeScheduleView.h"

#include "common/Numeric.h"
#include "common/SharedTables.h"
#include "platform/DrawingSurface.h"
#include "schedule_view/IScheduleHost.h"
#include "schedule_view/ScheduleGrid.h"
#include "schedule_view/ScheduleHost.h"

namespace velmar {

using namespace grid;

void TimeScheduleView::RecalculateAndPrepareToPaint(IScheduleHost& m_ParentContainer,
                                                    IDrawingSurface*& m_SchedulePaintObject,
                                                    IDrawingSurface* SchedulePaintObject) {
    // The caller's surface is adopted once; later passes keep it.
    if (m_SchedulePaintObject == nullptr) {
        m_SchedulePaintObject = SchedulePaintObject;
    }
    m_Schedule.m_NumberOfAxisToPaint = 0;
    m_ParentContainer.Set_VScroll_Schedule_Top(std::int16_t{0});

    // The scroll bar stands at the right edge inside the frame.
    const HostValue frameWidth = m_ParentContainer.Get_Picture_TimeSchedule_Frame_ScaleWidth();
    const HostValue scrollWidth = m_ParentContainer.Get_VScroll_Schedule_Width();
    m_ParentContainer.Set_VScroll_Schedule_Left(schedule_host::Difference(frameWidth, scrollWidth));
    const HostValue frameHeight = m_ParentContainer.Get_Picture_TimeSchedule_Frame_ScaleHeight();
    m_ParentContainer.Set_VScroll_Schedule_Height(frameHeight);

    for (int dayType = 0; dayType < kDayTypeCount; ++dayType) {
        if (m_Schedule.m_Active[dayType] != 0) {
            ++m_Schedule.m_NumberOfAxisToPaint;
        }
    }
    // Without a calendar the grid always shows the seven weekdays.
    if (m_Schedule.m_UseCalendar == 0) {
        m_Schedule.m_NumberOfAxisToPaint = kWeekRows;
    }
    // Negative with fewer than seven rows; the host receives it as it is.
    m_ParentContainer.Set_VScroll_Schedule_Max(
        ToInt16((static_cast<long long>(m_Schedule.m_NumberOfAxisToPaint) - kWeekRows) * kScrollStepsPerRow,
                "scroll maximum"));
    m_Schedule.m_HorizontalScale = static_cast<float>(1440.0 / 24.0 / 60.0);

    m_ParentContainer.Set_Picture_TimeSchedule_Left(std::int16_t{0});
    m_ParentContainer.Set_Picture_TimeSchedule_Top(std::int16_t{0});
    const HostValue scrollLeft = m_ParentContainer.Get_VScroll_Schedule_Left();
    m_ParentContainer.Set_Picture_TimeSchedule_Width(scrollLeft);
    m_ParentContainer.Set_Picture_TimeSchedule_Height(
        std::int32_t{m_Schedule.m_NumberOfAxisToPaint * kRowHeight + kSurfaceExtraHeight});

    // An active day type gets the number of active day types before it; an
    // inactive one the row of the next active one (it is never painted).
    std::int16_t row = 0;
    for (int dayType = 0; dayType < kDayTypeCount; ++dayType) {
        m_Schedule.m_AxisIndex[dayType] = row;
        if (m_Schedule.m_Active[dayType] != 0) {
            ++row;
        }
    }
}

void TimeScheduleView::Paint(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject) {
    if (m_SchedulePaintObject == nullptr) {
        return;
    }
    IDrawingSurface& surface = *m_SchedulePaintObject;
    const int rows = m_Schedule.m_NumberOfAxisToPaint;
    const int hourWidth = static_cast<int>(RoundHalfEven(static_cast<double>(kGridWidth) / kHours));
    for (int hour = 0; hour <= kHours; ++hour) {
        surface.LineBy(kGridLeft + hourWidth * hour, 0, 0, rows * kRowHeight, kHourLine);
    }
    for (int row = 0; row < rows; ++row) {
        surface.LineBy(kGridLeft, RowTop(row) + kSeparatorOffset, kGridWidth, 0, kDarkSeparator);
        surface.LineBy(kGridLeft, RowTop(row) + kSeparatorOffset + 1, kGridWidth, 0, kLightSeparator);
    }
    for (std::int32_t dayType = 0; dayType < kDayTypeCount; ++dayType) {
        if (m_Schedule.m_Active[dayType] != 0) {
            PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, dayType);
        }
    }
}

void TimeScheduleView::PaintDayTypeRow(IScheduleHost& m_ParentContainer,
                                       IDrawingSurface* m_SchedulePaintObject, std::int32_t DayType) {
    IDrawingSurface& surface = schedule_host::Surface(m_SchedulePaintObject);
    // A day type not in use has no row of its own: its row index is that of the
    // next day type in use, and painting it there would cover that row (the
    // group propagation and GroupMonFri repaint members whether in use or not).
    if (m_Schedule.m_Active[DayType] == 0) {
        return;
    }
    const int row = m_Schedule.m_AxisIndex[DayType];
    const int top = BandTop(row);
    const float scale = m_Schedule.m_HorizontalScale;
    const auto textHeight = static_cast<float>(RoundHalfEven(surface.TextHeight("8")));

    // The row's own segment of the right border: the band lines stop short of
    // x = 318, and a period that ended at 24:00 left its black edge there.
    surface.LineBy(kGridRight, RowTop(row), 0, kRowHeight, kHourLine);

    const int bandStep = static_cast<int>(RoundHalfEven(static_cast<double>(kBandRange) / kBandLines));
    for (int line = 0; line < kBandLines; ++line) {
        const int grey = kBandTopGrey - bandStep * line;
        surface.Line(kGridLeft, top + line, kGridRight, top + line, Rgb(grey, grey, grey));
    }

    // Later periods are drawn over earlier ones.
    const int periodStep = static_cast<int>(RoundHalfEven(static_cast<double>(kPeriodRange) / kBandLines));
    for (const PeriodPtr& period : m_Schedule.m_Periods[DayType]) {
        const int darkening = period == m_Schedule.m_SelectedPeriod ? kSelectedDarkening : 0;
        // The stop minute is inclusive: the bar ends after its last minute.
        const double xs = kGridLeft + RoundHalfEven(static_cast<float>(period->m_StartMinute) * scale /
                                                    static_cast<float>(kMinutesPerPixel));
        const double xe = kGridLeft + RoundHalfEven(static_cast<float>(period->m_StopMinute + 1) * scale /
                                                    static_cast<float>(kMinutesPerPixel));
        for (int line = 0; line < kBandLines; ++line) {
            surface.Line(xs, top + line, xe, top + line,
                         Rgb(0, kPeriodTopGreen - periodStep * line - darkening, 0));
        }
        surface.LineBy(xs, top, 0, kBandLines, kPeriodEdge);
        surface.LineBy(xe, top, 0, kBandLines, kPeriodEdge);
    }

    const float labelY = static_cast<float>(top) + (static_cast<float>(kBandLines) - textHeight) / 2.0F;
    if (DayType < kWeekDayTypes) {
        surface.SetCurrentY(labelY);
        const std::string& name = DayTypeNames[DayType];
        surface.SetCurrentX(static_cast<float>(kGridLeft) - surface.TextWidth(name) - kLabelGap);
        surface.Print(name);
    } else {
        // Day types 7..22 show image 1..16 of the host's image list.
        const HostValue imageHeight = m_ParentContainer.Get_ImageList_ImageHeight();
        std::int32_t imageY = RoundToInt32(
            top + (static_cast<double>(kBandLines) - schedule_host::Number(imageHeight)) / 2.0, "image y");
        const std::int32_t deviceContext = surface.hDC();
        const HostValue imageWidth = m_ParentContainer.Get_ImageList_ImageWidth();
        const HostValue imageX = schedule_host::Difference(std::int32_t{kGridLeft - kImageGap}, imageWidth);
        m_ParentContainer.Draw_ImageList_ListImages(std::int32_t{DayType - (kWeekDayTypes - 1)},
                                                    deviceContext, imageX, imageY);
    }

    if (schedule_host::Truth(m_ParentContainer.Get_Check_TimeSchedule_ViewDayType())) {
        surface.SetCurrentY(labelY);
        const std::string& longName = DayTypeLongNames[DayType];
        surface.SetCurrentX((static_cast<float>(kGridWidth) - surface.TextWidth(longName)) / 2.0F +
                            static_cast<float>(kGridLeft));
        surface.Print(longName);
    }

    if (m_Schedule.m_Grouped[DayType] != 0) {
        for (int line = 0; line < kGroupMarkLines; ++line) {
            surface.LineBy(kGroupMarkRight, top + line, -(kGroupMarkLines - line), 0, kGroupMark[line]);
        }
    }
}

} // namespace velmar
