// Mouse editing on the schedule grid: the hit test and the press, move and
// release handlers the host forwards its surface's mouse events to.

#include "common/CommonProcedures.h"
#include "common/Numeric.h"
#include "platform/DrawingSurface.h"
#include "schedule_view/IScheduleHost.h"
#include "schedule_view/ScheduleGrid.h"
#include "schedule_view/ScheduleHost.h"
#include "schedule_view/TimeScheduleView.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace velmar {

using namespace grid;

namespace {

constexpr std::int16_t kLeftButton = 1;
constexpr std::int16_t kRightButton = 2;
constexpr int kWorkingDays = 5; // day types 0..4

enum DragMode : std::int16_t {
    kIdle = 0,
    kDragStart = 1,
    kDragStop = 2,
    kDrawNew = 3,
};

} // namespace

std::int32_t TimeScheduleView::GetMinuteAtPosition(IScheduleHost& m_ParentContainer, float X, float Y,
                                                   std::int32_t& Row) const {
    const float scale = m_Schedule.m_HorizontalScale;
    // Before the first layout pass the scale is 0: nothing is on the grid yet.
    if (!(scale > 0)) {
        return kOutsideRows;
    }
    // A position that is not a number is nowhere on the grid.
    if (std::isnan(X) || std::isnan(Y)) {
        return kOutsideRows;
    }
    if (Y >= static_cast<float>(m_Schedule.m_NumberOfAxisToPaint * kRowHeight) || Y <= kBandOffset) {
        return kOutsideRows;
    }
    if (X < kGridLeft) {
        return kInLabelMargin;
    }
    const auto rightLimit = static_cast<float>(kGridLeft + kGridWidth / static_cast<double>(scale) + scale);
    if (X >= rightLimit) {
        return kRightOfGrid;
    }
    // Just left of the limit, fractional positions would give up to 24:05;
    // the day ends at 24:00.
    const double exact = (static_cast<double>(X) - kGridLeft) * kMinutesPerPixel / static_cast<double>(scale);
    const std::int32_t minute = std::min<std::int32_t>(RoundToInt32(exact, "minute"), kLastMinute);
    m_ParentContainer.Set_Text_Schedule_Time(MinutesToTimeText(minute));
    // Rounding, not truncation: the lowest lines of a band already count as the next row.
    Row = RoundToInt32((static_cast<double>(Y) - kBandOffset) / kRowHeight, "row");
    return minute;
}

void TimeScheduleView::MouseDown(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                                 std::int16_t Button, std::int16_t /*Shift*/, float X, float Y) {
    m_Schedule.m_MouseButton = Button;
    m_Schedule.m_MouseDownX = X;
    m_Schedule.m_MouseDownY = Y;
    std::int32_t row = 0;
    const std::int32_t minute =
        GetMinuteAtPosition(m_ParentContainer, m_Schedule.m_MouseDownX, m_Schedule.m_MouseDownY, row);
    // The rounding of the row puts the lowest lines of the last row on the row
    // below it, which is not drawn; without a calendar a day type in use may
    // still stand there. A press there is off the grid.
    if (minute < 0 || row >= m_Schedule.m_NumberOfAxisToPaint) {
        return;
    }
    // The day type of the row: the active one with exactly `row` active ones before it.
    std::int32_t dayType = -1;
    std::int32_t activeBefore = 0;
    for (std::int32_t d = 0; d < kDayTypeCount; ++d) {
        if (m_Schedule.m_Active[d] != 0) {
            if (activeBefore == row) {
                dayType = d;
                break;
            }
            ++activeBefore;
        }
    }
    if (dayType < 0) {
        return;
    }
    const std::int32_t previousDayType = m_Schedule.m_SelectedDayType;
    m_Schedule.m_SelectedDayType = dayType;

    if (m_Schedule.m_MouseButton == kLeftButton) {
        m_Schedule.m_EditStartMinute = 0;
        m_Schedule.m_EditStopMinute = kLastMinute;
        m_Schedule.m_SelectedPeriod = nullptr;
        if (previousDayType >= 0) {
            PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, previousDayType);
        }
        const PeriodCollection& periods = m_Schedule.m_Periods[dayType];
        for (const PeriodPtr& period : periods) {
            if (period->m_StartMinute <= minute && minute <= period->m_StopMinute) {
                m_Schedule.m_SelectedPeriod = period;
                m_Schedule.m_EditStartMinute = period->m_StartMinute;
                m_Schedule.m_EditStopMinute = period->m_StopMinute;
                break;
            }
        }
        // Every left press starts a drag of its own. A drag whose release never
        // arrived would otherwise go on moving its period, of whatever day type.
        m_Schedule.m_DragMode = kIdle;
        m_Schedule.m_DragPeriod = nullptr;
        m_Schedule.m_DragAnchorMinute = minute;
        // A start edge wins over the stop edge of the same period, an earlier
        // period over a later one.
        PeriodPtr grabbed;
        for (const PeriodPtr& period : periods) {
            if (std::abs(period->m_StartMinute - minute) < kEdgeReach) {
                m_Schedule.m_DragAnchorMinute = period->m_StartMinute;
                m_Schedule.m_DragMode = kDragStart;
                grabbed = period;
                break;
            }
            if (std::abs(period->m_StopMinute - minute) < kEdgeReach) {
                m_Schedule.m_DragAnchorMinute = period->m_StopMinute;
                m_Schedule.m_DragMode = kDragStop;
                grabbed = period;
                break;
            }
        }
        if (m_Schedule.m_DragMode == kIdle) {
            m_Schedule.m_DragMode = kDrawNew;
        }
        if (grabbed != nullptr) {
            schedule_host::Surface(m_SchedulePaintObject).SetMousePointer(kPointerSizeWE);
            m_Schedule.m_DragPeriod = grabbed;
        }
        m_Schedule.m_DragDayType = dayType;
        if (m_Schedule.m_SelectedPeriod == nullptr) {
            m_ParentContainer.Set_Text_Schedule_Period_Start(std::string());
            m_ParentContainer.Set_Text_Schedule_Period_Stop(std::string());
        } else {
            m_ParentContainer.Set_Text_Schedule_Period_Start(MinutesToTimeText(m_Schedule.m_EditStartMinute));
            m_ParentContainer.Set_Text_Schedule_Period_Stop(MinutesToTimeText(m_Schedule.m_EditStopMinute));
        }
        // The pressed row is repainted by the release.
    } else if (m_Schedule.m_MouseButton == kRightButton) {
        // The states of the host's popup menu.
        bool monFri = true;
        for (std::int32_t d = 0; d < kDayTypeCount; ++d) {
            if ((m_Schedule.m_Grouped[d] != 0) != (d < kWorkingDays)) {
                monFri = false;
            }
        }
        std::int32_t monFriChecked = ToTruth(monFri);
        m_ParentContainer.Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked(monFriChecked);
        m_ParentContainer.Set_Menu_TimeSchedulePopup_Grouped_Checked(
            m_Schedule.m_Grouped[m_Schedule.m_SelectedDayType]);
        m_ParentContainer.Set_Menu_TimeSchedulePopup_Paste_Enabled(ToTruth(m_Schedule.m_CopiedDayType >= 0));
        m_ParentContainer.Set_Menu_TimeSchedulePopup_Delete_Enabled(
            ToTruth(m_Schedule.m_SelectedDayType >= 0));
    }
}

void TimeScheduleView::MouseMove(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                                 std::int16_t /*Button*/, std::int16_t /*Shift*/, float X, float Y) {
    // Off the grid the drag pauses; the row under the pointer is not used, a
    // drag stays on its own day type.
    std::int32_t row = 0;
    const std::int32_t minute = GetMinuteAtPosition(m_ParentContainer, X, Y, row);
    if (minute < 0) {
        return;
    }
    if (m_Schedule.m_DragMode == kDrawNew && m_Schedule.m_DragPeriod == nullptr &&
        std::abs(minute - m_Schedule.m_DragAnchorMinute) >= kDrawThreshold) {
        schedule_host::Surface(m_SchedulePaintObject).SetMousePointer(kPointerSizeWE);
        auto created = std::make_shared<cTimeSchedulePeriod>();
        m_Schedule.m_DragPeriod = created;
        m_Schedule.m_SelectedPeriod = created;
        m_Schedule.m_Periods[m_Schedule.m_DragDayType].Add(std::move(created));
    }
    if (m_Schedule.m_DragPeriod == nullptr) {
        return;
    }
    cTimeSchedulePeriod& period = *m_Schedule.m_DragPeriod;
    // Minutes are 0..1440 here, the anchor a press minute or an edge.
    switch (m_Schedule.m_DragMode) {
    case kDragStart:
        period.m_StartMinute = ToInt16(minute, "start minute");
        break;
    case kDragStop:
        period.m_StopMinute = ToInt16(minute, "stop minute");
        break;
    case kDrawNew:
        period.m_StartMinute = ToInt16(m_Schedule.m_DragAnchorMinute, "start minute");
        period.m_StopMinute = ToInt16(minute, "stop minute");
        break;
    default:
        break;
    }
    // Dragging an edge across the other one keeps the pointer on the moving edge.
    if (period.m_StopMinute < period.m_StartMinute) {
        std::swap(period.m_StartMinute, period.m_StopMinute);
        if (m_Schedule.m_DragMode == kDragStart) {
            m_Schedule.m_DragMode = kDragStop;
        } else if (m_Schedule.m_DragMode == kDragStop) {
            m_Schedule.m_DragMode = kDragStart;
        }
    }
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, m_Schedule.m_DragDayType);
    m_ParentContainer.Set_Text_Schedule_Period_Start(MinutesToTimeText(period.m_StartMinute));
    m_ParentContainer.Set_Text_Schedule_Period_Stop(MinutesToTimeText(period.m_StopMinute));
}

void TimeScheduleView::MouseUp(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                               std::int16_t /*Button*/, std::int16_t /*Shift*/, float /*X*/, float /*Y*/) {
    if (m_Schedule.m_DragMode == kIdle) {
        return;
    }
    schedule_host::Surface(m_SchedulePaintObject).SetMousePointer(kPointerDefault);
    m_Schedule.m_DragMode = kIdle;
    m_Schedule.m_DragPeriod = nullptr;
    PropagateToGroup(m_ParentContainer, m_SchedulePaintObject, m_Schedule.m_SelectedDayType);
    m_Schedule.MergeOverlappingPeriods(m_Schedule.m_DragDayType);
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, m_Schedule.m_DragDayType);
}

} // namespace velmar
