#include "editor_host/ScheduleEditor.h"

#include "common/Errors.h"
#include "platform/DrawingSurface.h"

#include <utility>

namespace velmar {

ScheduleEditor::ScheduleEditor(SchedulePtr schedule, IDrawingSurface& picture, IHostImageList& images)
    : m_Schedule(schedule ? std::move(schedule) : throw InvalidArgumentError("no schedule to edit")),
      m_View(*m_Schedule), m_Picture(picture), m_Host(picture, images) {}

void ScheduleEditor::Layout() {
    m_View.RecalculateAndPrepareToPaint(m_Host, m_PaintObject, &m_Picture);
}

void ScheduleEditor::Paint() {
    const ScheduleHostControls& controls = m_Host.Controls();
    m_Picture.FillRect(0, 0, controls.PictureWidth, controls.PictureHeight, m_Picture.BackColor());
    m_View.Paint(m_Host, m_PaintObject);
}

void ScheduleEditor::MouseDown(std::int16_t button, float x, float y) {
    m_Button = button;
    m_View.MouseDown(m_Host, m_PaintObject, button, 0, x, y);
}

void ScheduleEditor::MouseMove(float x, float y) {
    m_View.MouseMove(m_Host, m_PaintObject, m_Button, 0, x, y);
}

void ScheduleEditor::MouseUp(float x, float y) {
    m_View.MouseUp(m_Host, m_PaintObject, m_Button, 0, x, y);
}

void ScheduleEditor::ApplyTimes(const std::string& start, const std::string& stop) {
    m_Host.Controls().PeriodStartText = start;
    m_Host.Controls().PeriodStopText = stop;
    m_View.ExtractTimeFromTextboxes(m_Host, m_PaintObject);
}

void ScheduleEditor::Delete() {
    m_View.Delete(m_Host, m_PaintObject);
}

void ScheduleEditor::FillWholeDay() {
    m_View.SetTimeFrom00to24(m_Host, m_PaintObject);
}

void ScheduleEditor::Group() {
    m_View.Group(m_Host, m_PaintObject);
}

void ScheduleEditor::GroupMonFri() {
    m_View.GroupMonFri(m_Host, m_PaintObject);
}

void ScheduleEditor::Copy() {
    m_Schedule->Copy();
}

void ScheduleEditor::Paste() {
    m_View.Paste(m_Host, m_PaintObject);
}

void ScheduleEditor::SetDefault() {
    m_Schedule->SetDefaultPeriod();
}

std::vector<ScriptVerb> ScheduleEditor::ScriptVerbs() {
    std::vector<ScriptVerb> verbs = PointerScriptVerbs();
    verbs.push_back({"times", "START STOP", {ScriptValue::Text, ScriptValue::Text}, 2});
    for (const char* name :
         {"delete", "fill", "group", "group-mon-fri", "copy", "paste", "default", "layout"}) {
        verbs.push_back({name, "", {}, 0});
    }
    return verbs;
}

void ScheduleEditor::Run(const ScriptCommand& command) {
    if (RunPointerCommand(*this, command)) {
        return;
    }
    const std::string& verb = command.Verb;
    if (verb == "times") {
        ApplyTimes(command.Text(0), command.Text(1));
    } else if (verb == "delete") {
        Delete();
    } else if (verb == "fill") {
        FillWholeDay();
    } else if (verb == "group") {
        Group();
    } else if (verb == "group-mon-fri") {
        GroupMonFri();
    } else if (verb == "copy") {
        Copy();
    } else if (verb == "paste") {
        Paste();
    } else if (verb == "default") {
        SetDefault();
    } else if (verb == "layout") {
        Layout();
    } else {
        throw InvalidArgumentError("the schedule editor has no command \"" + verb + "\"");
    }
}

} // namespace velmar
