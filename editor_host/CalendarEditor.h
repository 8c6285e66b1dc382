#pragma once

#include "calendar/Calendar.h"
#include "editor_host/CalendarHost.h"
#include "editor_host/EventScript.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmar {

class IDrawingSurface;
class IHostImageList;

// A calendar in its month view, hosted by a CalendarHost on a picture box:
// the calendar file, the month shown, the event handlers a window forwards its
// picture box's mouse events to, and the replay of event scripts.
class CalendarEditor {
public:
    // A new calendar, every code 0. The picture box and the image list must
    // outlive the editor.
    CalendarEditor(IDrawingSurface& picture, IHostImageList& images);

    cCalendar& Calendar() { return m_Calendar; }
    CalendarHost& Host() { return m_Host; }

    // Reads a calendar file. False, with the calendar as it was, when there is
    // no such file. A file that cannot be read raises FileError, and the
    // calendar, which may then hold part of the file, cannot be saved until a
    // file was read completely.
    bool Open(const std::string& path);
    // Writes the calendar file. FileError when the calendar's last read failed:
    // what it holds is not what the user saw, and saving it would overwrite a
    // good file with it.
    void Save(const std::string& path) const;
    bool Saveable() const { return m_Saveable; }

    // Shows a month: the month fields, then a full paint.
    void ShowMonth(std::int32_t year, std::int32_t month);
    // Paints the shown month over what the picture box holds.
    void Paint();
    // Selects entry `entry` (counted from 1) of the day-type combo box; 0 selects nothing.
    void Select(std::int16_t entry);
    // The picture box's mouse events.
    void MouseDown(std::int16_t button, float x, float y);
    void MouseMove(float x, float y);
    void MouseUp(float x, float y);

    // The verbs of the calendar's event scripts: those of every editor (down,
    // move, up, paint) and
    //   select ENTRY   select combo entry ENTRY (code ENTRY - 1), 0 for none
    static std::vector<ScriptVerb> ScriptVerbs();
    // Runs one command of a script read with ScriptVerbs.
    void Run(const ScriptCommand& command);

private:
    cCalendar m_Calendar;
    IDrawingSurface& m_Picture;
    CalendarHost m_Host;
    bool m_Saveable = true;
};

} // namespace velmar
