#pragma once

#include "schedule/TimeSchedule.h"

#include <cstdint>

namespace velmar {

class IScheduleHost;
class IDrawingSurface;

// The grid editor of a cTimeSchedule: the layout pass, the painting, the mouse
// editing and the editing operations that the host's popup menu and time boxes
// call. Every operation receives the host window (`m_ParentContainer`, called
// back by name) and the drawing surface it paints on (`m_SchedulePaintObject`),
// and works on the fields of the schedule it was made for; it keeps no state of
// its own, so any number of views of one schedule behave as one. The schedule
// must outlive the view.
//
// Failures: a host that does not answer a name, a failing host operation and a
// failing surface operation raise their error at the call; what was changed
// before it stays changed.
class TimeScheduleView {
public:
    explicit TimeScheduleView(cTimeSchedule& schedule) : m_Schedule(schedule) {}

    cTimeSchedule& Schedule() const { return m_Schedule; }

    // The operations, in the order of the schedule's interface.

    // Removes every period of the selected day type and takes it out of the
    // group; ends with no day type selected. Clears the selection and empties
    // the time boxes when the selected period was among them.
    void Delete(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject);
    // Makes the selected day type one period 00:00-24:00 out of the group; ends
    // with no day type selected.
    void SetTimeFrom00to24(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject);
    // Applies the two time boxes to the selected period, rewrites them in the
    // fixed form, then merges, repaints and propagates the day type that holds
    // the period.
    void ExtractTimeFromTextboxes(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject);
    // Toggles the selected day type's group membership; joining takes over the
    // periods of the lowest other member.
    void Group(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject);
    // Groups exactly Monday to Friday with Monday's periods, or dissolves the
    // group when the host's menu item is checked; repaints the whole grid.
    void GroupMonFri(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject);
    // Ends a drag: merges and repaints the dragged day type and copies the
    // selected day type's periods to the other members of the group.
    void MouseUp(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                 std::int16_t Button, std::int16_t Shift, float X, float Y);
    // Draws the hour lines, the row separators and every row of a day type in
    // use over what the surface holds. Does nothing without a surface.
    void Paint(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject);
    // A left press selects the period under the pointer and starts a drag; a
    // right press sets the states of the host's popup menu.
    void MouseDown(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                   std::int16_t Button, std::int16_t Shift, float X, float Y);
    // Shows the time under the pointer and moves the dragged edge or draws the new period.
    void MouseMove(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                   std::int16_t Button, std::int16_t Shift, float X, float Y);
    // Replaces the selected day type's periods and group flag by the copied day type's.
    void Paste(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject);
    // Counts the rows, gives every day type its row, and sizes the surface and
    // the scroll bar inside the host's frame. Adopts `SchedulePaintObject` when
    // the caller's surface variable is empty.
    void RecalculateAndPrepareToPaint(IScheduleHost& m_ParentContainer,
                                      IDrawingSurface*& m_SchedulePaintObject,
                                      IDrawingSurface* SchedulePaintObject);

    // Operations a host builds on the model beyond the popup menu, for keyboard
    // editing. Each ends with the same merge, row repaint and group
    // propagation as an edit with the mouse.

    // Selects `Period` of `DayType`, or the day type alone for none, as a left
    // click on it would, without starting a drag: the time boxes show the
    // period's times (or are emptied) and the rows concerned are repainted.
    void SelectPeriod(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                      std::int32_t DayType, const PeriodPtr& Period);
    // Adds a period Start..Stop to a day type and selects it; merged with a
    // period it overlaps or touches, the survivor is selected.
    void AddPeriod(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                   std::int32_t DayType, std::int16_t Start, std::int16_t Stop);
    // Removes the selected period alone; the day's other periods stay. Clears
    // the selection and empties the time boxes. Nothing when no day type
    // holds the selected period.
    void DeleteSelectedPeriod(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject);
    // Moves the start edge (or with `StopEdge` the stop edge) of the selected
    // period by `Minutes`, within 00:00..24:00. An edge moved across the other
    // one swaps them, as a drag does. Returns whether the moved edge is now
    // the period's stop edge. Nothing (and `StopEdge`) without a selected
    // period in the schedule.
    bool MoveSelectedEdge(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                          bool StopEdge, std::int32_t Minutes);
    // Forgets the selection and any drag, and empties the
    // time boxes: for a schedule whose periods were replaced as a whole
    // (undo, reload). Paints nothing.
    void ClearSelection(IScheduleHost& m_ParentContainer);

private:
    // The time boxes show the selected period's times, or nothing.
    void ShowSelectedTimes(IScheduleHost& m_ParentContainer);
    // Merges, repaints and copies to the group the day type of an edit.
    void FinishEdit(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                    std::int32_t DayType);
    // Empties a day type's periods. When they held the selected period, the
    // selection is cleared and the host's time boxes emptied.
    void ClearPeriods(IScheduleHost& m_ParentContainer, std::int32_t DayType);
    // Replaces Target's periods (as ClearPeriods does) by new periods with the
    // times of Source's, in order: two day types never share a period object.
    void ReplaceWithCopies(IScheduleHost& m_ParentContainer, std::int32_t Target, std::int32_t Source);
    void PropagateToGroup(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                          std::int32_t DayType);
    void PaintDayTypeRow(IScheduleHost& m_ParentContainer, IDrawingSurface* m_SchedulePaintObject,
                         std::int32_t DayType);
    std::int32_t GetMinuteAtPosition(IScheduleHost& m_ParentContainer, float X, float Y,
                                     std::int32_t& Row) const;

    cTimeSchedule& m_Schedule;
};

} // namespace velmar
