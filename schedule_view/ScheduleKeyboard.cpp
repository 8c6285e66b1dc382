// Editing without a mouse: selecting a period, adding one, deleting the
// selected one and moving its edges. These operations are the host's, built on
// the model; they end as the mouse edits do, with the merge, the row repaint
// and the copy of the day to the other members of the group.

#include "common/CommonProcedures.h"
#include "schedule_view/IScheduleHost.h"
#include "schedule_view/ScheduleGrid.h"
#include "schedule_view/TimeScheduleView.h"

#include <algorithm>
#include <utility>

namespace velmar {

using namespace grid;

void TimeScheduleView::ShowSelectedTimes(IScheduleHost& m_ParentContainer) {
    const PeriodPtr& period = m_Schedule.m_SelectedPeriod;
    if (period == nullptr || m_Schedule.DayTypeHolding(period.get()) < 0) {
        m_ParentContainer.Set_Text_Schedule_Period_Start(std::string());
        m_ParentContainer.Set_Text_Schedule_Period_Stop(std::string());
        return;
    }
    m_Schedule.m_EditStartMinute = period->m_StartMinute;
    m_Schedule.m_EditStopMinute = period->m_StopMinute;
    m_ParentContainer.Set_Text_Schedule_Period_Start(
        MinutesToTimeText(std::max<std::int32_t>(period->m_StartMinute, 0)));
    m_ParentContainer.Set_Text_Schedule_Period_Stop(
        MinutesToTimeText(std::max<std::int32_t>(period->m_StopMinute, 0)));
}

void TimeScheduleView::FinishEdit(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                                  std::int32_t DayType) {
    m_Schedule.MergeOverlappingPeriods(DayType);
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, DayType);
    PropagateToGroup(m_ParentContainer, m_SchedulePaintObject, DayType);
    ShowSelectedTimes(m_ParentContainer);
}

void TimeScheduleView::SelectPeriod(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                                    std::int32_t DayType, const PeriodPtr& Period) {
    // The rows that showed the old selection: the selected day type's and the
    // one that holds the selected period (a right press may have parted them).
    const std::int32_t previousDayType = m_Schedule.m_SelectedDayType;
    const std::int32_t previousHolder = m_Schedule.DayTypeHolding(m_Schedule.m_SelectedPeriod.get());
    m_Schedule.m_SelectedDayType = DayType;
    m_Schedule.m_SelectedPeriod =
        Period != nullptr && m_Schedule.m_Periods[DayType].PositionOf(Period.get()) > 0 ? Period : nullptr;
    for (const std::int32_t row : {previousDayType, previousHolder}) {
        if (row >= 0 && row != DayType) {
            PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, row);
        }
    }
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, DayType);
    ShowSelectedTimes(m_ParentContainer);
}

void TimeScheduleView::AddPeriod(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                                 std::int32_t DayType, std::int16_t Start, std::int16_t Stop) {
    auto period = std::make_shared<cTimeSchedulePeriod>();
    period->m_StartMinute = std::min(Start, Stop);
    period->m_StopMinute = std::max(Start, Stop);
    m_Schedule.m_Periods[DayType].Add(period);
    SelectPeriod(m_ParentContainer, m_SchedulePaintObject, DayType, period);
    FinishEdit(m_ParentContainer, m_SchedulePaintObject, DayType);
}

void TimeScheduleView::DeleteSelectedPeriod(IScheduleHost& m_ParentContainer,
                                            IDrawingSurface* m_SchedulePaintObject) {
    const std::int32_t dayType = m_Schedule.DayTypeHolding(m_Schedule.m_SelectedPeriod.get());
    if (dayType < 0) {
        return;
    }
    PeriodCollection& periods = m_Schedule.m_Periods[dayType];
    periods.Remove(periods.PositionOf(m_Schedule.m_SelectedPeriod.get()));
    m_Schedule.m_SelectedPeriod = nullptr;
    FinishEdit(m_ParentContainer, m_SchedulePaintObject, dayType);
}

bool TimeScheduleView::MoveSelectedEdge(IScheduleHost& m_ParentContainer,
                                        IDrawingSurface* m_SchedulePaintObject, bool StopEdge,
                                        std::int32_t Minutes) {
    const std::int32_t dayType = m_Schedule.DayTypeHolding(m_Schedule.m_SelectedPeriod.get());
    if (dayType < 0) {
        return StopEdge;
    }
    cTimeSchedulePeriod& period = *m_Schedule.m_SelectedPeriod;
    std::int16_t& edge = StopEdge ? period.m_StopMinute : period.m_StartMinute;
    edge = static_cast<std::int16_t>(std::clamp<std::int32_t>(edge + Minutes, 0, kLastMinute));
    // Across the other edge the two swap and the moved edge changes its name.
    if (period.m_StopMinute < period.m_StartMinute) {
        std::swap(period.m_StartMinute, period.m_StopMinute);
        StopEdge = !StopEdge;
    }
    FinishEdit(m_ParentContainer, m_SchedulePaintObject, dayType);
    return StopEdge;
}

void TimeScheduleView::ClearSelection(IScheduleHost& m_ParentContainer) {
    m_Schedule.m_SelectedPeriod = nullptr;
    m_Schedule.m_SelectedDayType = -1;
    m_Schedule.m_DragPeriod = nullptr;
    m_Schedule.m_DragMode = 0;
    ShowSelectedTimes(m_ParentContainer);
}

} // namespace velmar
