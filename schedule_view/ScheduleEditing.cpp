// The editing operations of cTimeSchedule that the host's popup menu and time
// boxes call, and the merge and group propagation they share with the mouse
// editing. Each ends by repainting the rows it touched.

#include "common/CommonProcedures.h"
#include "common/HostWindow.h"
#include "common/Numeric.h"
#include "schedule/TimeSchedule.h"
#include "schedule_view/ScheduleHost.h"

#include <utility>
#include <vector>

namespace velmar {

namespace {

constexpr int kWorkingDays = 5;              // day types 0..4, the Monday-to-Friday group
constexpr std::int16_t kWholeDayStop = 1440; // 24:00

// Replaces the periods of `target` by new periods with the times of `source`'s,
// in the same order: two day types never share a period object.
void ReplaceWithCopies(PeriodCollection& target, const PeriodCollection& source) {
    std::vector<PeriodPtr> copies;
    copies.reserve(static_cast<std::size_t>(source.Count()));
    for (const auto& period : source) {
        copies.push_back(std::make_shared<cTimeSchedulePeriod>(*period));
    }
    target.Clear();
    for (auto& copy : copies) {
        target.Add(std::move(copy));
    }
}

} // namespace

void cTimeSchedule::MergeOverlappingPeriods(std::int32_t DayType) {
    if (DayType == -1) {
        return;
    }
    PeriodCollection& periods = m_Periods[DayType];
    bool changed = true;
    while (changed) {
        changed = false;
        for (std::int32_t a = 1; a <= periods.Count(); ++a) {
            const PeriodPtr first = periods.Item(a);
            for (std::int32_t b = 1; b <= periods.Count(); ++b) {
                const PeriodPtr second = periods.Item(b);
                // Touching periods merge (first stops at the minute second starts);
                // a gap of one minute keeps them apart.
                if (second != first && second->m_StartMinute >= first->m_StartMinute &&
                    first->m_StopMinute >= second->m_StartMinute) {
                    if (second->m_StopMinute > first->m_StopMinute) {
                        first->m_StopMinute = second->m_StopMinute;
                    }
                    if (second == m_SelectedPeriod) {
                        m_SelectedPeriod = first;
                    }
                    periods.Remove(b);
                    changed = true;
                    // Go on with the period after the survivor, which moved up
                    // when the removed one stood before it.
                    a = periods.PositionOf(first.get());
                    break;
                }
            }
        }
    }
}

void cTimeSchedule::PropagateToGroup(HostWindow& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                                     std::int32_t DayType) {
    if (DayType == -1 || m_Grouped[DayType] == 0) {
        return;
    }
    for (std::int32_t member = 0; member < kDayTypeCount; ++member) {
        if (member == DayType || m_Grouped[member] == 0) {
            continue;
        }
        ReplaceWithCopies(m_Periods[member], m_Periods[DayType]);
        MergeOverlappingPeriods(member);
        PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, member);
    }
}

void cTimeSchedule::Delete(HostWindow& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject) {
    if (m_SelectedDayType < 0) {
        return;
    }
    PeriodCollection& periods = m_Periods[m_SelectedDayType];
    while (periods.Count() > 0) {
        const PeriodPtr removed = periods.Item(1);
        periods.Remove(1);
        if (removed == m_SelectedPeriod) {
            m_SelectedPeriod = nullptr;
            m_ParentContainer.Call("Set_Text_Schedule_Period_Start", {std::string()});
            m_ParentContainer.Call("Set_Text_Schedule_Period_Stop", {std::string()});
        }
    }
    m_Grouped[m_SelectedDayType] = kFalse;
    MergeOverlappingPeriods(m_SelectedDayType);
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, m_SelectedDayType);
    m_SelectedDayType = -1;
}

void cTimeSchedule::SetTimeFrom00to24(HostWindow& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject) {
    if (m_SelectedDayType < 0) {
        return;
    }
    m_Periods[m_SelectedDayType].Clear();
    m_Grouped[m_SelectedDayType] = kFalse;
    MergeOverlappingPeriods(m_SelectedDayType);
    auto wholeDay = std::make_shared<cTimeSchedulePeriod>();
    wholeDay->m_StartMinute = 0;
    wholeDay->m_StopMinute = kWholeDayStop;
    m_Periods[m_SelectedDayType].Add(std::move(wholeDay));
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, m_SelectedDayType);
    m_SelectedDayType = -1;
}

void cTimeSchedule::ExtractTimeFromTextboxes(HostWindow& m_ParentContainer,
                                             IDrawingSurface* m_SchedulePaintObject) {
    if (m_SelectedPeriod == nullptr) {
        return;
    }
    m_EditStartMinute = TimeTextToMinutes(HostText(m_ParentContainer.Call("Get_Text_Schedule_Period_Start")));
    m_EditStopMinute = TimeTextToMinutes(HostText(m_ParentContainer.Call("Get_Text_Schedule_Period_Stop")));
    if (m_EditStopMinute < m_EditStartMinute) {
        std::swap(m_EditStartMinute, m_EditStopMinute);
    }
    // Both are 0..1440 here.
    m_SelectedPeriod->m_StartMinute = static_cast<std::int16_t>(m_EditStartMinute);
    m_SelectedPeriod->m_StopMinute = static_cast<std::int16_t>(m_EditStopMinute);
    m_ParentContainer.Call("Set_Text_Schedule_Period_Start", {MinutesToTimeText(m_EditStartMinute)});
    m_ParentContainer.Call("Set_Text_Schedule_Period_Stop", {MinutesToTimeText(m_EditStopMinute)});
    // The selected period need not belong to the selected day type (Delete and
    // SetTimeFrom00to24 end with no day type selected); then only the period changes.
    if (m_SelectedDayType >= 0) {
        MergeOverlappingPeriods(m_SelectedDayType);
        PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, m_SelectedDayType);
        PropagateToGroup(m_ParentContainer, m_SchedulePaintObject, m_SelectedDayType);
    }
}

void cTimeSchedule::Group(HostWindow& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject) {
    if (m_SelectedDayType < 0) {
        return;
    }
    // The bitwise complement toggles -1 and 0. A value a file brought in, such
    // as 1, stays non-zero (-2): the day type then stays in the group.
    m_Grouped[m_SelectedDayType] = static_cast<std::int16_t>(~m_Grouped[m_SelectedDayType]);
    if (m_Grouped[m_SelectedDayType] != 0) {
        // Joining takes over the periods of the lowest other member, if any.
        for (std::int32_t member = 0; member < kDayTypeCount; ++member) {
            if (member != m_SelectedDayType && m_Grouped[member] != 0) {
                ReplaceWithCopies(m_Periods[m_SelectedDayType], m_Periods[member]);
                MergeOverlappingPeriods(m_SelectedDayType);
                break;
            }
        }
    }
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, m_SelectedDayType);
}

void cTimeSchedule::GroupMonFri(HostWindow& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject) {
    for (std::int32_t dayType = 0; dayType < kDayTypeCount; ++dayType) {
        // The menu item's mark is asked anew for every day type.
        const bool checked =
            schedule_host::Truth(m_ParentContainer.Call("Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked"));
        m_Grouped[dayType] = ToTruth(!checked && dayType < kWorkingDays);
        if (dayType < kWorkingDays) {
            PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, dayType);
        }
    }
    PropagateToGroup(m_ParentContainer, m_SchedulePaintObject, 0);
    Paint(m_ParentContainer, m_SchedulePaintObject);
}

void cTimeSchedule::Paste(HostWindow& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject) {
    if (m_SelectedDayType < 0 || m_CopiedDayType < 0 || m_SelectedDayType == m_CopiedDayType) {
        return;
    }
    // The copied day type's periods as they are now, not as they were at Copy.
    ReplaceWithCopies(m_Periods[m_SelectedDayType], m_Periods[m_CopiedDayType]);
    m_Grouped[m_SelectedDayType] = m_Grouped[m_CopiedDayType];
    MergeOverlappingPeriods(m_SelectedDayType);
    PaintDayTypeRow(m_ParentContainer, m_SchedulePaintObject, m_SelectedDayType);
}

} // namespace velmar
