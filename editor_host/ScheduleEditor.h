#pragma once

#include "editor_host/EventScript.h"
#include "editor_host/ScheduleHost.h"
#include "schedule/TimeSchedule.h"
#include "schedule_view/TimeScheduleView.h"

#include <cstdint>
#include <string>
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
    // Monday to Friday 07:00-16:00, grouped, beside what the schedule holds.
    void SetDefault();

    // The verbs of the schedule's event scripts: those of every editor
    // (down, move, up, paint) and
    //   times START STOP   type two times into the boxes and apply them
    //   delete | fill | group | group-mon-fri | copy | paste   the popup menu
    //   default            Monday to Friday 07:00-16:00, grouped
    //   layout             the layout pass
    static std::vector<ScriptVerb> ScriptVerbs();
    // Runs one command of a script read with ScriptVerbs.
    void Run(const ScriptCommand& command);

private:
    SchedulePtr m_Schedule;
    TimeScheduleView m_View;
    IDrawingSurface& m_Picture;
    ScheduleHost m_Host;
    // The component's variable for its drawing surface; the layout pass adopts the picture box.
    IDrawingSurface* m_PaintObject = nullptr;
    std::int16_t m_Button = 1;
};

} // namespace velmar
