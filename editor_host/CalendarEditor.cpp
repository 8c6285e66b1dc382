#include "editor_host/CalendarEditor.h"

#include "common/Errors.h"

namespace velmar {

CalendarEditor::CalendarEditor(IDrawingSurface& picture, IHostImageList& images)
    : m_Picture(picture), m_Host(picture, images) {}

bool CalendarEditor::Open(const std::string& path) {
    // Unsaveable from the moment the table may change until the read is
    // complete; a missing file changes nothing, not even that.
    const bool wasSaveable = m_Saveable;
    m_Saveable = false;
    const bool found = m_Calendar.ReadFromDisk(path) != 0;
    m_Saveable = found || wasSaveable;
    return found;
}

void CalendarEditor::Save(const std::string& path) const {
    if (!m_Saveable) {
        throw FileError("not saving " + path + ": the calendar could not be read completely");
    }
    m_Calendar.SaveToDisk(path);
}

void CalendarEditor::ShowMonth(std::int32_t year, std::int32_t month) {
    m_Calendar.m_SelectedYear = year;
    m_Calendar.m_SelectedMonth = month;
    m_Calendar.RecalculateAndPrepareToPaint(m_Host, &m_Picture);
    Paint();
}

void CalendarEditor::Paint() {
    m_Calendar.Paint(m_Host, &m_Picture);
}

void CalendarEditor::Select(std::int16_t entry) {
    m_Host.Controls().DayTypeSelected = entry;
}

void CalendarEditor::MouseDown(std::int16_t button, float x, float y) {
    m_Calendar.MouseDown(m_Host, &m_Picture, button, 0, x, y);
}

void CalendarEditor::MouseMove(float x, float y) {
    m_Calendar.MouseMove(m_Host, &m_Picture, 0, 0, x, y);
}

void CalendarEditor::MouseUp(float x, float y) {
    m_Calendar.MouseUp(0, 0, x, y);
}

std::vector<ScriptVerb> CalendarEditor::ScriptVerbs() {
    std::vector<ScriptVerb> verbs = PointerScriptVerbs();
    verbs.push_back({"select", "ENTRY", {ScriptValue::Entry}, 1});
    return verbs;
}

void CalendarEditor::Run(const ScriptCommand& command) {
    if (RunPointerCommand(*this, command)) {
        return;
    }
    const std::string& verb = command.Verb;
    if (verb == "select") {
        Select(command.Integer(0));
    } else {
        throw InvalidArgumentError("the calendar editor has no command \"" + verb + "\"");
    }
}

} // namespace velmar
