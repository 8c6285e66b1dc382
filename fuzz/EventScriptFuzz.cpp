// The event-script reader and the replay on both editors, as velmar-profiles
// runs them: a script either parses or fails with one line "FILE:LINE:
// message" naming a line of the script; a script that parses replays on the
// schedule editor and on the calendar editor without any error but the
// system's own kinds, and a command that fails ends the replay with one line
// "FILE:LINE: message" naming that command's line. What the schedule editor
// leaves writes and reads back the same.

#include "calendar/Calendar.h"
#include "common/Errors.h"
#include "editor_host/CalendarEditor.h"
#include "editor_host/EventScript.h"
#include "editor_host/HostImageList.h"
#include "editor_host/ScheduleEditor.h"
#include "editor_host/SharedTablesScope.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/RecordingSurface.h"
#include "tools/velmar-profiles/Replay.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace velmar;

constexpr const char* kScriptName = "fuzz.events";

// An image list that draws nothing; the host checks the image numbers.
class Images : public IHostImageList {
public:
    int Count() const override { return 16; }
    int ImageWidth() const override { return 14; }
    int ImageHeight() const override { return 14; }
    void Draw(int /*index*/, int /*x*/, int /*y*/) override {}
};

// The line number of "FILE:LINE: message" when `text` has that form with a
// message of one line that holds no control character (which could drive the
// terminal it is printed on), else 0.
int LineOf(const std::string& text) {
    const std::string prefix = std::string(kScriptName) + ":";
    if (!text.starts_with(prefix)) {
        return 0;
    }
    std::size_t at = prefix.size();
    int line = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && line < 1000000) {
        line = line * 10 + (text[at] - '0');
        ++at;
    }
    const std::string_view message = std::string_view(text).substr(std::min(at + 2, text.size()));
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    if (text.compare(at, 2, ": ") != 0 || message.empty() ||
        std::any_of(message.begin(), message.end(), control)) {
        return 0;
    }
    return line;
}

// Parses `script` with the editor's verbs; nothing when it fails as it should.
template <typename Editor> std::optional<std::vector<ScriptCommand>> Parse(const std::string& script) {
    std::istringstream in(script);
    try {
        return ParseEventScript(in, kScriptName, Editor::ScriptVerbs());
    } catch (const ScriptError& error) {
        const int lines = static_cast<int>(std::count(script.begin(), script.end(), '\n')) + 1;
        const int line = LineOf(error.Where());
        VELMAR_FUZZ_CHECK(line >= 1 && line <= lines, "a malformed line is named FILE:LINE: message");
        VELMAR_FUZZ_CHECK(std::string_view(error.what()).ends_with(error.Where()), "the error says where");
    } catch (const std::exception&) {
        VELMAR_FUZZ_CHECK(false, "a malformed script fails with ScriptError only");
    }
    return std::nullopt;
}

// Replays the commands; a failing command must give its own line.
template <typename Editor> void Replay(Editor& editor, const std::vector<ScriptCommand>& commands) {
    std::ostringstream err;
    int last = 0;
    bool replayed = false;
    try {
        replayed = tool::Replay(editor, commands, kScriptName, err,
                                [&last](const ScriptCommand& command) { last = command.Line; });
    } catch (const std::exception&) {
        VELMAR_FUZZ_CHECK(false, "a command fails with an error of the system's own kinds");
    }
    if (replayed) {
        VELMAR_FUZZ_CHECK(err.str().empty(), "a replay that ran reports nothing");
        return;
    }
    // The command after the last one that ran is the one that failed.
    const auto failed = std::find_if(commands.begin(), commands.end(),
                                     [last](const ScriptCommand& command) { return command.Line > last; });
    std::string report = err.str();
    VELMAR_FUZZ_CHECK(!report.empty() && report.back() == '\n', "a failed replay reports one line");
    report.pop_back();
    VELMAR_FUZZ_CHECK(failed != commands.end() && LineOf(report) == failed->Line,
                      "a failed command is named FILE:LINE: message");
}

void ReplaySchedule(const std::vector<ScriptCommand>& commands) {
    SharedTablesScope tables;
    SharedTablesScope::NameDayTypes("D", "Special day ");
    auto schedule = std::make_shared<cTimeSchedule>();
    schedule->SetDefaultPeriod();
    RecordingSurface picture(324, 600);
    Images images;
    ScheduleEditor editor(schedule, picture, images);
    editor.Layout();
    editor.Paint();
    Replay(editor, commands);

    const std::string text = schedule->ComposePeriodArray();
    cTimeSchedule back;
    back.ExtractPeriodArray(text);
    VELMAR_FUZZ_CHECK(back.ComposePeriodArray() == text, "an edited schedule reads back the same");
}

void ReplayCalendar(const std::vector<ScriptCommand>& commands, std::uint8_t month) {
    SharedTablesScope tables;
    SharedTablesScope::NameDayTypes();
    RecordingSurface picture(320, 180);
    Images images;
    CalendarEditor editor(picture, images);
    // Any month of the calendar's forty years.
    editor.ShowMonth(2000 + month % 40, 1 + month % 12);
    Replay(editor, commands);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string script(reinterpret_cast<const char*>(data), size);
    if (const auto commands = Parse<ScheduleEditor>(script)) {
        ReplaySchedule(*commands);
    }
    if (const auto commands = Parse<CalendarEditor>(script)) {
        ReplayCalendar(*commands, size > 0 ? data[0] : 0);
    }
    return 0;
}
