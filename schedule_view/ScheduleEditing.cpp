// The editing operations that the host's popup menu and time boxes call, and
// the group propagation they share with the mouse editing. Each ends by
// repainting the rows it touched.

#include "common/CommonProcedures.h"
#include "common/Numeric.h"
#include "schedule_view/IScheduleHost.h"
#include "schedule_view/ScheduleHost.h"
#include "schedule_view/TimeScheduleView.h"

#include <utility>
#include <vector>

namespace velmar {

namespace {

constexpr int kWorkingDays = 5;              // day types 0..4, the Monday-to-Friday group
constexpr std::int16_t kWholeDayStop = 1440; // 24:00

} // namespace

void TimeScheduleView::ClearPeriods(IScheduleHost& m_ParentContainer, std::int32_t DayType) {
    // One by one from the front: when a host call fails, the periods not yet
    // removed stay.
    PeriodCollection& periods = m_Schedule.m_Periods[DayType];
    while (periods.Count() > 0) {
        const PeriodPtr removed = periods.Item(1);
        periods.Remove(1);
        // The time boxes show the selected period; they must not go on
        // editing a period that is no longer in the schedule.
        if (removed == m_Schedule.m_SelectedPeriod) {
            m_Schedule.m_SelectedPeriod = nullptr;
            m_ParentContainer.Set_Text_Schedule_Period_Start(std::string());
            m_ParentContainer.Set_Text_Schedule_Period_Stop(std::string());
        }
    }
}

void TimeScheduleView::ReplaceWithCopies(IScheduleHost& m_ParentContainer, std::int32_t Target,
                                         std::int32_t Source) {
    std::vector<PeriodPtr> copies;
    copies.reserve(static_cast<std::size_t>(m_Schedule.m_Periods[Source].Count()));
    for (const auto& period : m_Schedule.m_Periods[Source]) {
        copies.push_back(std::make_shared<cTimeSchedulePeriod>(*period));
    }
    ClearPeriods(m_ParentContainer, Target);
    for (auto& copy : copies) {
        m_Schedule.m_Periods[Target].Add(std::move(copy));
    }
}

void TimeScheduleView::PropagateToGroup(IScheduleHost& m_ParentContainer,
                                        IDrawingSurface* m_SchedulePaintObject, std::int32_t DayType) {
    if (DayType == -1 || m_Schedule.m_Grouped[DayType] == 0) {
        return;
    }
    for (std::int32_t member = 0; member < kDayTypeCount; ++member) {
        if (member == DayType || m_Schedule.m_Grouped[member] == 0) {
            continue;
        }
        ReplaceWithCopies(m_ParentContainer, member, DayType);
        m_Schedule.MergeOverlappingPeriods(member);
        PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, member);
    }
}

void TimeScheduleView::Delete(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject) {
    if (m_Schedule.m_SelectedDayType < 0) {
        return;
    }
    ClearPeriods(m_ParentContainer, m_Schedule.m_SelectedDayType);
    m_Schedule.m_Grouped[m_Schedule.m_SelectedDayType] = kFalse;
    m_Schedule.MergeOverlappingPeriods(m_Schedule.m_SelectedDayType);
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, m_Schedule.m_SelectedDayType);
    m_Schedule.m_SelectedDayType = -1;
}

void TimeScheduleView::SetTimeFrom00to24(IScheduleHost& m_ParentContainer,
                                         IDrawingSurface* m_SchedulePaintObject) {
    if (m_Schedule.m_SelectedDayType < 0) {
        return;
    }
    ClearPeriods(m_ParentContainer, m_Schedule.m_SelectedDayType);
    m_Schedule.m_Grouped[m_Schedule.m_SelectedDayType] = kFalse;
    m_Schedule.MergeOverlappingPeriods(m_Schedule.m_SelectedDayType);
    auto wholeDay = std::make_shared<cTimeSchedulePeriod>();
    wholeDay->m_StartMinute = 0;
    wholeDay->m_StopMinute = kWholeDayStop;
    m_Schedule.m_Periods[m_Schedule.m_SelectedDayType].Add(std::move(wholeDay));
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, m_Schedule.m_SelectedDayType);
    m_Schedule.m_SelectedDayType = -1;
}

void TimeScheduleView::ExtractTimeFromTextboxes(IScheduleHost& m_ParentContainer,
                                                IDrawingSurface* m_SchedulePaintObject) {
    // The boxes belong to the selected period, not to the selected day type:
    // a right press on another row, Delete and SetTimeFrom00to24 move or clear
    // the day type and leave the period selected. The day type whose collection
    // holds the period is the one retimed; a period no day type holds any more
    // is not edited at all.
    const std::int32_t dayType = m_Schedule.DayTypeHolding(m_Schedule.m_SelectedPeriod.get());
    if (dayType < 0) {
        return;
    }
    m_Schedule.m_EditStartMinute =
        TimeTextToMinutes(HostText(m_ParentContainer.Get_Text_Schedule_Period_Start()));
    m_Schedule.m_EditStopMinute =
        TimeTextToMinutes(HostText(m_ParentContainer.Get_Text_Schedule_Period_Stop()));
    if (m_Schedule.m_EditStopMinute < m_Schedule.m_EditStartMinute) {
        std::swap(m_Schedule.m_EditStartMinute, m_Schedule.m_EditStopMinute);
    }
    // Both are 0..1440 here.
    m_Schedule.m_SelectedPeriod->m_StartMinute = static_cast<std::int16_t>(m_Schedule.m_EditStartMinute);
    m_Schedule.m_SelectedPeriod->m_StopMinute = static_cast<std::int16_t>(m_Schedule.m_EditStopMinute);
    m_ParentContainer.Set_Text_Schedule_Period_Start(MinutesToTimeText(m_Schedule.m_EditStartMinute));
    m_ParentContainer.Set_Text_Schedule_Period_Stop(MinutesToTimeText(m_Schedule.m_EditStopMinute));
    m_Schedule.MergeOverlappingPeriods(dayType);
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, dayType);
    PropagateToGroup(m_ParentContainer, m_SchedulePaintObject, dayType);
}

void TimeScheduleView::Group(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject) {
    if (m_Schedule.m_SelectedDayType < 0) {
        return;
    }
    // Toggled by truth value, not by bitwise complement: a flag a file brought
    // in, such as 1, is a member like -1 and leaves the group as 0.
    std::int16_t& grouped = m_Schedule.m_Grouped[m_Schedule.m_SelectedDayType];
    grouped = ToTruth(grouped == 0);
    if (m_Schedule.m_Grouped[m_Schedule.m_SelectedDayType] != 0) {
        // Joining takes over the periods of the lowest other member, if any.
        for (std::int32_t member = 0; member < kDayTypeCount; ++member) {
            if (member != m_Schedule.m_SelectedDayType && m_Schedule.m_Grouped[member] != 0) {
                ReplaceWithCopies(m_ParentContainer, m_Schedule.m_SelectedDayType, member);
                m_Schedule.MergeOverlappingPeriods(m_Schedule.m_SelectedDayType);
                break;
            }
        }
    }
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, m_Schedule.m_SelectedDayType);
}

void TimeScheduleView::GroupMonFri(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject) {
    for (std::int32_t dayType = 0; dayType < kDayTypeCount; ++dayType) {
        // The menu item's mark is asked anew for every day type.
        const bool checked =
            schedule_host::Truth(m_ParentContainer.Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked());
        m_Schedule.m_Grouped[dayType] = ToTruth(!checked && dayType < kWorkingDays);
        if (dayType < kWorkingDays) {
            PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, dayType);
        }
    }
    PropagateToGroup(m_ParentContainer, m_SchedulePaintObject, 0);
    Paint(m_ParentContainer, m_SchedulePaintObject);
}

void TimeScheduleView::Paste(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject) {
    if (m_Schedule.m_SelectedDayType < 0 || m_Schedule.m_CopiedDayType < 0 ||
        m_Schedule.m_SelectedDayType == m_Schedule.m_CopiedDayType) {
        return;
    }
    // The copied day type's periods as they are now, not as they were at Copy.
    ReplaceWithCopies(m_ParentContainer, m_Schedule.m_SelectedDayType, m_Schedule.m_CopiedDayType);
    m_Schedule.m_Grouped[m_Schedule.m_SelectedDayType] = m_Schedule.m_Grouped[m_Schedule.m_CopiedDayType];
    m_Schedule.MergeOverlappingPeriods(m_Schedule.m_SelectedDayType);
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, m_Schedule.m_SelectedDayType);
}

} // namespace velmar
