#pragma once

#include "calendar/Calendar.h"
#include "editor_host/CalendarHost.h"
#include "editor_host/EditHistory.h"
#include "editor_host/EventScript.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmar {

class IDrawingSurface;
class IHostImageList;

// The keys of keyboard editing on the month view.
enum class CalendarKey : std::uint8_t {
    Left,     // the day before
    Right,    // the day after
    Up,       // a week earlier
    Down,     // a week later
    Space,    // paints the selected day type onto the cursor's date
    PageUp,   // the month before
    PageDown, // the month after
};

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
    // Writes the calendar file as the editor saves one (CalendarWithCodes:
    // a longer file's tail stays; ReplaceFile: written whole or not at all,
    // the previous file kept as NAME~). FileError when the write fails, and
    // when the calendar's last read failed: what it holds is not what the user
    // saw, and saving it would overwrite a good file with it.
    void Save(const std::string& path) const;
    bool Saveable() const { return m_Saveable; }

    // The month view fits in this many pixels: its grid ends at (310, 170).
    static constexpr int kMonthViewWidth = 320;
    static constexpr int kMonthViewHeight = 180;

    // Shows a month: the month fields, then the picture box cleared and the
    // month painted.
    void ShowMonth(std::int32_t year, std::int32_t month);
    // Paints the shown month over what the picture box holds.
    void Paint();
    // Selects entry `entry` (counted from 1) of the day-type combo box; 0 selects nothing.
    void Select(std::int16_t entry);
    // The picture box's mouse events.
    void MouseDown(std::int16_t button, float x, float y);
    void MouseMove(float x, float y);
    void MouseUp(float x, float y);

    // Keyboard editing: a cursor on a date of the shown month; moving it past
    // the month's first or last day shows the neighbouring month. Dates stay
    // within 2000 to 2039.
    void Key(CalendarKey key);
    // Day of the shown month (0-based) under the cursor; -1 before the cursor was placed.
    std::int32_t CursorDay() const { return m_CursorDay; }
    // Shows the month `months` after the shown one (before it for a negative
    // count), within January 2000 to December 2039.
    void StepMonth(std::int32_t months);

    // Undo and redo of every painted code, to any depth; each paints the month again.
    EditHistory& History() { return m_History; }
    bool Undo();
    bool Redo();
    // The codes of every date, two bytes each: the state the history records.
    std::string Codes() const;
    // Replaces every code by those of `codes` (as Codes gives them) and starts
    // the history over from them, as after opening a file.
    void LoadCodes(const std::string& codes);

    // The verbs of the calendar's event scripts: those of every editor (down,
    // move, up, paint) and
    //   select ENTRY   select combo entry ENTRY (code ENTRY - 1), 0 for none
    //   key KEY        left, right, up, down, space, page-up, page-down
    //   undo | redo
    static std::vector<ScriptVerb> ScriptVerbs();
    // Runs one command of a script read with ScriptVerbs.
    void Run(const ScriptCommand& command);

private:
    bool Record();
    void Restore(const std::string& codes);
    // Moves the cursor to a day offset, showing its month when it lies in another.
    void MoveCursorTo(std::int64_t dayOffset);

    cCalendar m_Calendar;
    IDrawingSurface& m_Picture;
    CalendarHost m_Host;
    bool m_Saveable = true;
    EditHistory m_History;
    std::int32_t m_CursorDay = -1;
};

} // namespace velmar
