#pragma once

#include "editor_host/EditHistory.h"
#include "editor_host/EditorKeys.h"
#include "editor_host/EventScript.h"
#include "editor_host/ScheduleHost.h"
#include "schedule/TimeSchedule.h"
#include "schedule_view/TimeScheduleView.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmar {

class IDrawingSurface;
class IHostImageList;

// A schedule in its grid editor, hosted by a ScheduleHost on a picture box:
// the event handlers a window forwards its picture box's mouse events, its
// popup menu and its time boxes to, and the replay of event scripts.
class ScheduleEditor {
public:
    // The picture box and the image list must outlive the editor. Nothing is
    // laid out or painted until Layout and Paint.
    ScheduleEditor(SchedulePtr schedule, IDrawingSurface& picture, IHostImageList& images);

    cTimeSchedule& Schedule() const { return *m_Schedule; }
    const SchedulePtr& SharedSchedule() const { return m_Schedule; }
    TimeScheduleView& View() { return m_View; }
    ScheduleHost& Host() { return m_Host; }

    // The layout pass: rows, the picture box's size, the scroll bar.
    void Layout();
    // Clears the picture box to its background and paints the whole grid.
    void Paint();

    // The picture box's mouse events; moves and the release go with the
    // button of the last press.
    void MouseDown(std::int16_t button, float x, float y);
    void MouseMove(float x, float y);
    void MouseUp(float x, float y);
    // The user typed two times into the time boxes and confirmed them.
    void ApplyTimes(const std::string& start, const std::string& stop);
    // The popup menu's commands.
    void Delete();
    void FillWholeDay();
    void Group();
    void GroupMonFri();
    void Copy();
    void Paste();
    // Monday to Friday 07:00-16:00, grouped, beside what the schedule holds;
    // lays out and paints the grid again.
    void SetDefault();

    // Keyboard editing: a cursor on a row and, within it, on one edge of a
    // period. Moving it selects the row's day type and the edge's period, as
    // a click would; the editing keys go through the same merge and group
    // propagation as the mouse. The keys of the calendar do nothing here.
    static constexpr std::array<EditorKey, 8> kKeys{
        EditorKey::Up,        EditorKey::Down,       EditorKey::Left,   EditorKey::Right,
        EditorKey::ShiftLeft, EditorKey::ShiftRight, EditorKey::Insert, EditorKey::Delete};
    void Key(EditorKey key);
    // The day type of the cursor's row, -1 before the cursor was placed.
    std::int32_t CursorDayType() const { return m_CursorDayType; }
    // What a screen reader says of the cursor's row: its day type's long name,
    // the selected period when it is on that row, and the row's period count:
    // "Tuesday, 09:15 to 17:00, selected; 2 periods".
    std::string CursorDescription() const;
    // The edge under the cursor: the selected period and whether it is its
    // stop edge; nothing when the cursor is on no edge.
    std::optional<std::pair<PeriodPtr, bool>> CursorEdge() const;
    // Sets the popup menu's states for the cursor's row (a right press on
    // it), for a menu opened from the keyboard or the window's Edit menu.
    // False when there is no row to press on.
    bool PressMenuOnCursorRow();

    // Undo and redo of every edit since the editor was made, to any depth.
    // Each lays out and paints the grid again and clears the selection.
    EditHistory& History() { return m_History; }
    bool Undo();
    bool Redo();

    // The verbs of the schedule's event scripts: those of every editor
    // (down, move, up, paint) and
    //   times START STOP   type two times into the boxes and apply them
    //   delete | fill | group | group-mon-fri | copy | paste   the popup menu
    //   default            Monday to Friday 07:00-16:00, grouped
    //   layout             the layout pass
    //   key KEY            up, down, left, right, shift-left, shift-right,
    //                      insert, delete: keyboard editing
    //   menu               the popup menu's states for the cursor's row
    //   undo | redo
    static std::vector<ScriptVerb> ScriptVerbs();
    // Runs one command of a script read with ScriptVerbs.
    void Run(const ScriptCommand& command);

private:
    // Records the schedule after an edit for undo; true when it changed.
    bool Record();
    void Restore(const std::string& state);
    // The rows drawn, as day types from the top.
    std::vector<std::int32_t> DrawnDayTypes() const;
    // The period edges of the cursor's row in time order.
    std::vector<std::pair<PeriodPtr, bool>> Edges() const;
    void MoveCursorRow(int step);
    void MoveCursorEdge(int step);

    SchedulePtr m_Schedule;
    TimeScheduleView m_View;
    IDrawingSurface& m_Picture;
    ScheduleHost m_Host;
    // The component's variable for its drawing surface; the layout pass adopts the picture box.
    IDrawingSurface* m_PaintObject = nullptr;
    std::int16_t m_Button = 1;
    EditHistory m_History;
    bool m_LaidOut = false;
    std::int32_t m_CursorDayType = -1;
    // Whether the cursor is on an edge, and which: always one of the selected
    // period's, so an edit that replaces the period moves the cursor with it.
    bool m_CursorOnEdge = false;
    bool m_CursorOnStop = false;
};

} // namespace velmar
