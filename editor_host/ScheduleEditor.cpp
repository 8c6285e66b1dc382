#include "editor_host/ScheduleEditor.h"

#include "common/ConsoleText.h"
#include "common/Errors.h"
#include "platform/DrawingSurface.h"
#include "schedule_view/ScheduleGrid.h"

#include <algorithm>
#include <array>
#include <utility>

namespace velmar {

ScheduleEditor::ScheduleEditor(SchedulePtr schedule, IDrawingSurface& picture, IHostImageList& images)
    : m_Schedule(schedule ? std::move(schedule) : throw InvalidArgumentError("no schedule to edit")),
      m_View(*m_Schedule), m_Picture(picture), m_Host(picture, images),
      m_History(m_Schedule->ComposePeriodArray()) {}

namespace {

constexpr std::int16_t kInsertedStart = 480; // 08:00
constexpr std::int16_t kInsertedStop = 1020; // 17:00
constexpr std::int32_t kEdgeStep = 5;        // minutes per Shift+arrow, one pixel of the grid

} // namespace

void ScheduleEditor::Layout() {
    m_View.RecalculateAndPrepareToPaint(m_Host, m_PaintObject, &m_Picture);
    // The first pass gives every day type its row; that is the schedule as
    // opened, not an edit.
    if (!m_LaidOut && !m_History.CanUndo() && !m_History.CanRedo()) {
        m_History.Reset(m_Schedule->ComposePeriodArray());
    }
    m_LaidOut = true;
}

void ScheduleEditor::Paint() {
    const ScheduleHostControls& controls = m_Host.Controls();
    m_Picture.FillRect(0, 0, controls.PictureWidth, controls.PictureHeight, m_Picture.BackColor());
    m_View.Paint(m_Host, m_PaintObject);
}

void ScheduleEditor::MouseDown(std::int16_t button, float x, float y) {
    m_Button = button;
    m_View.MouseDown(m_Host, m_PaintObject, button, 0, x, y);
    // The keyboard goes on from where the mouse pressed.
    if (m_Schedule->SelectedDayType() >= 0) {
        m_CursorDayType = m_Schedule->SelectedDayType();
        m_CursorOnEdge = false;
    }
}

void ScheduleEditor::MouseMove(float x, float y) {
    m_View.MouseMove(m_Host, m_PaintObject, m_Button, 0, x, y);
}

void ScheduleEditor::MouseUp(float x, float y) {
    m_View.MouseUp(m_Host, m_PaintObject, m_Button, 0, x, y);
    Record();
}

void ScheduleEditor::ApplyTimes(const std::string& start, const std::string& stop) {
    m_Host.Controls().PeriodStartText = start;
    m_Host.Controls().PeriodStopText = stop;
    m_View.ExtractTimeFromTextboxes(m_Host, m_PaintObject);
    Record();
}

void ScheduleEditor::Delete() {
    m_View.Delete(m_Host, m_PaintObject);
    Record();
}

void ScheduleEditor::FillWholeDay() {
    m_View.SetTimeFrom00to24(m_Host, m_PaintObject);
    Record();
}

void ScheduleEditor::Group() {
    m_View.Group(m_Host, m_PaintObject);
    Record();
}

void ScheduleEditor::GroupMonFri() {
    m_View.GroupMonFri(m_Host, m_PaintObject);
    Record();
}

void ScheduleEditor::Copy() {
    m_Schedule->Copy();
}

void ScheduleEditor::Paste() {
    m_View.Paste(m_Host, m_PaintObject);
    Record();
}

void ScheduleEditor::SetDefault() {
    m_Schedule->SetDefaultPeriod();
    // Monday to Friday may have come into use: the rows change.
    if (m_LaidOut) {
        Layout();
        Paint();
    }
    Record();
}

bool ScheduleEditor::Record() {
    return m_History.Record(m_Schedule->ComposePeriodArray());
}

void ScheduleEditor::Restore(const std::string& state) {
    m_Schedule->ExtractPeriodArray(state);
    // The periods are new objects: nothing the view remembered is in the schedule.
    m_View.ClearSelection(m_Host);
    m_CursorOnEdge = false;
    if (m_LaidOut) {
        Layout();
        Paint();
    }
}

bool ScheduleEditor::Undo() {
    const auto state = m_History.Undo();
    if (state) {
        Restore(*state);
    }
    return state.has_value();
}

bool ScheduleEditor::Redo() {
    const auto state = m_History.Redo();
    if (state) {
        Restore(*state);
    }
    return state.has_value();
}

std::vector<std::int32_t> ScheduleEditor::DrawnDayTypes() const {
    std::vector<std::int32_t> rows;
    for (std::int16_t d = 0; d < kDayTypeCount; ++d) {
        if (m_Schedule->GetActive(d) != 0 &&
            m_Schedule->GetAxisIndex(d) < m_Schedule->m_NumberOfAxisToPaint) {
            rows.push_back(d);
        }
    }
    return rows;
}

std::vector<std::pair<PeriodPtr, bool>> ScheduleEditor::Edges() const {
    std::vector<PeriodPtr> periods;
    if (m_CursorDayType >= 0) {
        const auto& collection = m_Schedule->Periods(static_cast<std::int16_t>(m_CursorDayType));
        periods.assign(collection.begin(), collection.end());
    }
    std::stable_sort(periods.begin(), periods.end(), [](const PeriodPtr& a, const PeriodPtr& b) {
        return a->m_StartMinute < b->m_StartMinute;
    });
    std::vector<std::pair<PeriodPtr, bool>> edges;
    for (const PeriodPtr& period : periods) {
        edges.emplace_back(period, false);
        edges.emplace_back(period, true);
    }
    return edges;
}

std::optional<std::pair<PeriodPtr, bool>> ScheduleEditor::CursorEdge() const {
    const PeriodPtr& selected = m_Schedule->SelectedPeriod();
    if (!m_CursorOnEdge || selected == nullptr ||
        m_Schedule->DayTypeHolding(selected.get()) != m_CursorDayType) {
        return std::nullopt;
    }
    return std::make_pair(selected, m_CursorOnStop);
}

void ScheduleEditor::MoveCursorRow(int step) {
    const std::vector<std::int32_t> rows = DrawnDayTypes();
    if (rows.empty()) {
        return;
    }
    auto at = std::find(rows.begin(), rows.end(), m_CursorDayType);
    std::int32_t dayType = rows.front();
    if (at != rows.end()) {
        const auto index = std::clamp<std::ptrdiff_t>(at - rows.begin() + step, 0,
                                                      static_cast<std::ptrdiff_t>(rows.size()) - 1);
        dayType = rows[static_cast<std::size_t>(index)];
    }
    m_CursorDayType = dayType;
    m_CursorOnEdge = false;
    m_View.SelectPeriod(m_Host, m_PaintObject, dayType, nullptr);
}

void ScheduleEditor::MoveCursorEdge(int step) {
    if (m_CursorDayType < 0) {
        MoveCursorRow(0);
    }
    const auto edges = Edges();
    if (edges.empty()) {
        return;
    }
    std::ptrdiff_t index = -1;
    if (const auto current = CursorEdge()) {
        index = std::find(edges.begin(), edges.end(), *current) - edges.begin();
    }
    index = index < 0 || index >= static_cast<std::ptrdiff_t>(edges.size())
                ? (step > 0 ? 0 : static_cast<std::ptrdiff_t>(edges.size()) - 1)
                : std::clamp<std::ptrdiff_t>(index + step, 0, static_cast<std::ptrdiff_t>(edges.size()) - 1);
    const auto& [period, stop] = edges[static_cast<std::size_t>(index)];
    m_View.SelectPeriod(m_Host, m_PaintObject, m_CursorDayType, period);
    m_CursorOnEdge = true;
    m_CursorOnStop = stop;
}

void ScheduleEditor::Key(ScheduleKey key) {
    if (!m_LaidOut) {
        return;
    }
    const std::int32_t holder = m_Schedule->DayTypeHolding(m_Schedule->SelectedPeriod().get());
    switch (key) {
    case ScheduleKey::Up:
    case ScheduleKey::Down:
        MoveCursorRow(key == ScheduleKey::Up ? -1 : 1);
        break;
    case ScheduleKey::Left:
    case ScheduleKey::Right:
        MoveCursorEdge(key == ScheduleKey::Left ? -1 : 1);
        break;
    case ScheduleKey::ShiftLeft:
    case ScheduleKey::ShiftRight:
        if (holder >= 0) {
            // A period selected by a click has no edge yet: its start it is.
            const bool stop = m_CursorOnEdge && m_CursorOnStop;
            m_CursorOnStop = m_View.MoveSelectedEdge(m_Host, m_PaintObject, stop,
                                                     key == ScheduleKey::ShiftLeft ? -kEdgeStep : kEdgeStep);
            m_CursorOnEdge = true;
            Record();
        }
        break;
    case ScheduleKey::Insert:
        if (m_CursorDayType < 0) {
            MoveCursorRow(0);
        }
        if (m_CursorDayType >= 0) {
            m_View.AddPeriod(m_Host, m_PaintObject, m_CursorDayType, kInsertedStart, kInsertedStop);
            m_CursorOnEdge = true;
            m_CursorOnStop = false;
            Record();
        }
        break;
    case ScheduleKey::Delete:
        m_View.DeleteSelectedPeriod(m_Host, m_PaintObject);
        m_CursorOnEdge = false;
        Record();
        break;
    }
}

bool ScheduleEditor::PressMenuOnCursorRow() {
    const std::vector<std::int32_t> rows = DrawnDayTypes();
    if (std::find(rows.begin(), rows.end(), m_CursorDayType) == rows.end()) {
        if (rows.empty()) {
            return false;
        }
        m_CursorDayType = rows.front();
    }
    // A right press in the middle of the row's band, at 12:00.
    const int row = m_Schedule->GetAxisIndex(static_cast<std::int16_t>(m_CursorDayType));
    constexpr int kNoon = grid::kGridLeft + 720 / grid::kMinutesPerPixel;
    const int middle = grid::BandTop(row) + grid::kBandLines / 2; // whole pixels
    const auto x = static_cast<float>(kNoon);
    const auto y = static_cast<float>(middle);
    constexpr std::int16_t kRightButton = 2;
    m_View.MouseDown(m_Host, m_PaintObject, kRightButton, 0, x, y);
    return true;
}

std::vector<ScriptVerb> ScheduleEditor::ScriptVerbs() {
    std::vector<ScriptVerb> verbs = PointerScriptVerbs();
    verbs.push_back({"times", "START STOP", {ScriptValue::Text, ScriptValue::Text}, 2});
    for (const char* name : {"delete", "fill", "group", "group-mon-fri", "copy", "paste", "default", "layout",
                             "menu", "undo", "redo"}) {
        verbs.push_back({name, "", {}, 0});
    }
    verbs.push_back({"key", "KEY", {ScriptValue::Text}, 1});
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
    } else if (verb == "menu") {
        PressMenuOnCursorRow();
    } else if (verb == "undo") {
        Undo();
    } else if (verb == "redo") {
        Redo();
    } else if (verb == "key") {
        static constexpr std::array<std::pair<std::string_view, ScheduleKey>, 8> kKeys{{
            {"up", ScheduleKey::Up},
            {"down", ScheduleKey::Down},
            {"left", ScheduleKey::Left},
            {"right", ScheduleKey::Right},
            {"shift-left", ScheduleKey::ShiftLeft},
            {"shift-right", ScheduleKey::ShiftRight},
            {"insert", ScheduleKey::Insert},
            {"delete", ScheduleKey::Delete},
        }};
        const auto found = std::find_if(kKeys.begin(), kKeys.end(),
                                        [&](const auto& entry) { return entry.first == command.Text(0); });
        if (found == kKeys.end()) {
            throw InvalidArgumentError("no key \"" + EscapeConsoleText(command.Text(0)) +
                                       "\" (up, down, left, right, shift-left, shift-right, insert, delete)");
        }
        Key(found->second);
    } else {
        throw InvalidArgumentError("the schedule editor has no command \"" + verb + "\"");
    }
}

} // namespace velmar
