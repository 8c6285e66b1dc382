#include "editor_host/CalendarEditor.h"

#include "common/ConsoleText.h"
#include "common/Errors.h"
#include "common/Paths.h"
#include "common/SharedTables.h"
#include "editor_host/EditedFiles.h"
#include "platform/DateServices.h"
#include "platform/FileReplace.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>
#include <utility>

namespace velmar {

CalendarEditor::CalendarEditor(IDrawingSurface& picture, IHostImageList& images)
    : m_Picture(picture), m_Host(picture, images), m_History(Codes()) {}

namespace {

constexpr std::int32_t kFirstYear = 2000;
constexpr std::int32_t kLastYear = 2039;
constexpr std::int32_t kMonths = 12;
constexpr int kDaysPerWeek = 7;

} // namespace

bool CalendarEditor::Open(const std::string& path) {
    // Unsaveable from the moment the table may change until the read is
    // complete; a missing file changes nothing, not even that.
    const bool wasSaveable = m_Saveable;
    m_Saveable = false;
    const bool found = m_Calendar.ReadFromDisk(path) != 0;
    m_Saveable = found || wasSaveable;
    if (found) {
        m_History.Reset(Codes());
    }
    return found;
}

void CalendarEditor::Save(const std::string& path) const {
    if (!m_Saveable) {
        throw FileError("not saving " + path + ": the calendar could not be read completely");
    }
    // The codes go over the first 29,220 bytes and a longer file's tail stays,
    // as the calendar's own save keeps it; but the file is replaced whole
    // through a temporary file, as the editor saves, so that a full disk never
    // leaves a calendar half written.
    FileBytes previous;
    std::error_code error;
    if (std::filesystem::exists(PathFromUtf8(path), error)) {
        previous = ReadWholeFile(path);
    }
    ReplaceFile(path, CalendarWithCodes(m_Calendar, previous));
}

void CalendarEditor::ShowMonth(std::int32_t year, std::int32_t month) {
    m_Calendar.m_SelectedYear = year;
    m_Calendar.m_SelectedMonth = month;
    m_Calendar.RecalculateAndPrepareToPaint(m_Host, &m_Picture);
    // The month view draws over what the picture box holds: the boxes of the
    // previous month's last days, and its week numbers, would stay.
    m_Picture.FillRect(0, 0, kMonthViewWidth, kMonthViewHeight, m_Picture.BackColor());
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
    Record();
}

std::string CalendarEditor::Codes() const {
    std::string codes(static_cast<std::size_t>(kCalendarDays) * 2, '\0');
    for (std::int32_t day = 0; day < kCalendarDays; ++day) {
        const auto code = static_cast<std::uint16_t>(m_Calendar.GetDayType(day));
        codes[static_cast<std::size_t>(day) * 2] = static_cast<char>(code & 0xFF);
        codes[static_cast<std::size_t>(day) * 2 + 1] = static_cast<char>(code >> 8);
    }
    return codes;
}

void CalendarEditor::Restore(const std::string& codes) {
    if (codes.size() != static_cast<std::size_t>(kCalendarDays) * 2) {
        throw InvalidArgumentError("a calendar's codes are " + std::to_string(kCalendarDays * 2) + " bytes");
    }
    for (std::int32_t day = 0; day < kCalendarDays; ++day) {
        const auto low = static_cast<unsigned char>(codes[static_cast<std::size_t>(day) * 2]);
        const auto high = static_cast<unsigned char>(codes[static_cast<std::size_t>(day) * 2 + 1]);
        m_Calendar.SetDayType(day, static_cast<std::int16_t>(low | (high << 8)));
    }
}

void CalendarEditor::LoadCodes(const std::string& codes) {
    Restore(codes);
    m_History.Reset(codes);
}

bool CalendarEditor::Record() {
    return m_History.Record(Codes());
}

bool CalendarEditor::Undo() {
    const auto codes = m_History.Undo();
    if (codes) {
        Restore(*codes);
        Paint();
    }
    return codes.has_value();
}

bool CalendarEditor::Redo() {
    const auto codes = m_History.Redo();
    if (codes) {
        Restore(*codes);
        Paint();
    }
    return codes.has_value();
}

void CalendarEditor::StepMonth(std::int32_t months) {
    const std::int32_t index =
        std::clamp(m_Calendar.m_SelectedYear * kMonths + m_Calendar.m_SelectedMonth - 1 + months,
                   kFirstYear * kMonths, kLastYear * kMonths + kMonths - 1);
    const std::int32_t day = m_CursorDay;
    ShowMonth(index / kMonths, index % kMonths + 1);
    if (day >= 0) {
        m_CursorDay = std::min(day, m_Calendar.m_DaysInActualMonth - 1);
    }
}

void CalendarEditor::MoveCursorTo(std::int64_t dayOffset) {
    dayOffset = std::clamp<std::int64_t>(dayOffset, 0, kCalendarDays - 1);
    const std::int64_t first = m_Calendar.m_ActualMonthOffset;
    if (dayOffset < first || dayOffset >= first + m_Calendar.m_DaysInActualMonth) {
        const CivilDate date = DateOfDayOffset(dayOffset);
        ShowMonth(static_cast<std::int32_t>(date.Year), date.Month);
    }
    m_CursorDay = static_cast<std::int32_t>(dayOffset - m_Calendar.m_ActualMonthOffset);
}

void CalendarEditor::Key(CalendarKey key) {
    const std::int64_t cursor =
        static_cast<std::int64_t>(m_Calendar.m_ActualMonthOffset) + std::max(m_CursorDay, 0);
    switch (key) {
    case CalendarKey::Left:
    case CalendarKey::Right:
    case CalendarKey::Up:
    case CalendarKey::Down: {
        // The first key places the cursor on day 1 of the month.
        if (m_CursorDay < 0) {
            MoveCursorTo(cursor);
            break;
        }
        const std::int64_t step = key == CalendarKey::Left    ? -1
                                  : key == CalendarKey::Right ? 1
                                  : key == CalendarKey::Up    ? -kDaysPerWeek
                                                              : kDaysPerWeek;
        MoveCursorTo(cursor + step);
        break;
    }
    case CalendarKey::PageUp:
    case CalendarKey::PageDown:
        StepMonth(key == CalendarKey::PageUp ? -1 : 1);
        break;
    case CalendarKey::Space: {
        const std::int16_t entry = m_Host.Controls().DayTypeSelected;
        if (m_CursorDay < 0 || entry <= 0) {
            break;
        }
        // Entry k of the combo box stands for code k - 1, as for the mouse.
        const auto code = static_cast<std::int16_t>(entry - 1);
        if (m_Calendar.GetDayType(static_cast<std::int32_t>(cursor)) != code) {
            m_Calendar.SetDayType(static_cast<std::int32_t>(cursor), code);
            m_Calendar.PaintDateBox(m_Host, &m_Picture, m_CursorDay);
            Record();
        }
        break;
    }
    }
}

std::vector<ScriptVerb> CalendarEditor::ScriptVerbs() {
    std::vector<ScriptVerb> verbs = PointerScriptVerbs();
    verbs.push_back({"select", "ENTRY", {ScriptValue::Entry}, 1});
    verbs.push_back({"key", "KEY", {ScriptValue::Text}, 1});
    verbs.push_back({"undo", "", {}, 0});
    verbs.push_back({"redo", "", {}, 0});
    return verbs;
}

void CalendarEditor::Run(const ScriptCommand& command) {
    if (RunPointerCommand(*this, command)) {
        return;
    }
    const std::string& verb = command.Verb;
    if (verb == "select") {
        Select(command.Integer(0));
    } else if (verb == "undo") {
        Undo();
    } else if (verb == "redo") {
        Redo();
    } else if (verb == "key") {
        static constexpr std::array<std::pair<std::string_view, CalendarKey>, 7> kKeys{{
            {"left", CalendarKey::Left},
            {"right", CalendarKey::Right},
            {"up", CalendarKey::Up},
            {"down", CalendarKey::Down},
            {"space", CalendarKey::Space},
            {"page-up", CalendarKey::PageUp},
            {"page-down", CalendarKey::PageDown},
        }};
        const auto found = std::find_if(kKeys.begin(), kKeys.end(),
                                        [&](const auto& entry) { return entry.first == command.Text(0); });
        if (found == kKeys.end()) {
            throw InvalidArgumentError("no key \"" + EscapeConsoleText(command.Text(0)) +
                                       "\" (left, right, up, down, space, page-up, page-down)");
        }
        Key(found->second);
    } else {
        throw InvalidArgumentError("the calendar editor has no command \"" + verb + "\"");
    }
}

} // namespace velmar
