// The one grammar of event scripts, shared by the schedule and calendar editors.

#include "common/Paths.h"
#include "editor_host/CalendarEditor.h"
#include "editor_host/EventScript.h"
#include "editor_host/ScheduleEditor.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPlatform.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace velmar::test {
namespace {

std::vector<ScriptCommand> Parse(const std::string& text, const std::vector<ScriptVerb>& verbs) {
    std::istringstream in(text);
    return ParseEventScript(in, "s.txt", verbs);
}

// "verb arg arg|verb arg" of the parsed commands, with line numbers.
std::string Summary(const std::vector<ScriptCommand>& commands) {
    std::string summary;
    for (const auto& command : commands) {
        summary += (summary.empty() ? "" : "|") + std::to_string(command.Line) + ":" + command.Verb;
        for (const auto& argument : command.Arguments) {
            summary += " [" + argument + "]";
        }
    }
    return summary;
}

// The error line of a malformed script, or "" when it parses.
std::string ErrorOf(const std::string& text, const std::vector<ScriptVerb>& verbs) {
    try {
        Parse(text, verbs);
        return "";
    } catch (const ScriptError& error) {
        return error.Where();
    }
}

TEST(EventScript, OneGrammarForEveryEditor) {
    // What both editors share reads the same in both.
    const std::string shared = "\xEF\xBB\xBF# a comment line\r\n"
                               "down 126 135   # a comment after a command\r\n"
                               "\n"
                               "   \t\n"
                               "move 127.5 -3\n"
                               "up 1e3 135\n"
                               "down 200 135 2\n"
                               "paint\n";
    const std::string expected =
        "2:down [126] [135]|5:move [127.5] [-3]|6:up [1e3] [135]|7:down [200] [135] [2]|8:paint";
    EXPECT_EQ(Summary(Parse(shared, ScheduleEditor::ScriptVerbs())), expected);
    EXPECT_EQ(Summary(Parse(shared, CalendarEditor::ScriptVerbs())), expected);
    // Texts in double quotes may hold blanks and "#", or be empty.
    EXPECT_EQ(Summary(Parse("times \"7:00 # x\" \"\"\n", ScheduleEditor::ScriptVerbs())),
              "1:times [7:00 # x] []");
}

TEST(EventScript, MalformedLinesNameTheirFileAndLineTheSameWayInEveryEditor) {
    struct Case {
        const char* script;
        const char* error;
    };
    const auto cases = std::to_array<Case>({
        {"jump 1 2\n", "s.txt:1: unknown command \"jump\""},
        {"# fine\n\ndown 1\n", "s.txt:3: down takes X Y [BUTTON]"},
        {"down x 5\n", "s.txt:1: X and Y must be numbers of pixels"},
        {"up 1e9 5\n", "s.txt:1: X and Y must be numbers of pixels"},
        {"move nan 5\n", "s.txt:1: X and Y must be numbers of pixels"},
        {"down 40 5 left\n", "s.txt:1: BUTTON must be a whole number (1 left, 2 right)"},
        {"down 40 5 1.5\n", "s.txt:1: BUTTON must be a whole number (1 left, 2 right)"},
        {"move 1 2 3\n", "s.txt:1: move takes X Y"},
        {"paint now\n", "s.txt:1: paint takes no arguments"},
        {"paint\nmove \"1 2\n", "s.txt:2: a text in double quotes is not closed"},
        // The message stays one line of plain text, whatever bytes the script holds.
        {"ju\x1B[2Jmp\x0B\x7F 1 2\n", "s.txt:1: unknown command \"ju\\x1B[2Jmp\\x0B\\x7F\""},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(c.script, ScheduleEditor::ScriptVerbs()), c.error) << c.script;
        EXPECT_EQ(ErrorOf(c.script, CalendarEditor::ScriptVerbs()), c.error) << c.script;
    }
    // Each editor's own verbs are unknown to the other.
    EXPECT_EQ(ErrorOf("select 5\n", ScheduleEditor::ScriptVerbs()), "s.txt:1: unknown command \"select\"");
    EXPECT_EQ(ErrorOf("group\n", CalendarEditor::ScriptVerbs()), "s.txt:1: unknown command \"group\"");
    EXPECT_EQ(ErrorOf("select -1\n", CalendarEditor::ScriptVerbs()),
              "s.txt:1: ENTRY must be a whole number, 0 for none");
    EXPECT_EQ(ErrorOf("times 7:00\n", ScheduleEditor::ScriptVerbs()), "s.txt:1: times takes START STOP");
    EXPECT_EQ(ErrorOf(std::string("a\0b\n", 4), ScheduleEditor::ScriptVerbs()),
              "s.txt:1: unknown command \"a\\x00b\"");
}

TEST(EventScript, AScriptFileThatCannotBeReadIsAFileErrorThatSaysWhy) {
    TempDir dir;
    std::ofstream(dir.Path() / "huge.txt").close();
    std::filesystem::resize_file(dir.Path() / "huge.txt", (std::uintmax_t{16} << 20U) + 1);
    std::vector<std::pair<std::string, std::string>> cases = {
        {dir.File("missing.txt"), ""}, // in the system's own words
        {PathToUtf8(dir.Path()), "is a directory"},
        {dir.File("huge.txt"), "too large for an event script (16777217 bytes; at most 16 MiB)"},
    };
    if (test::kPosixSystem) {
        cases.emplace_back(dir.File("fifo.txt"), "not a regular file"); // never waits for a writer
    }
    test::MakeFifo(dir.Path() / "fifo.txt");
    for (const auto& [path, reason] : cases) {
        try {
            ReadEventScript(path, ScheduleEditor::ScriptVerbs());
            ADD_FAILURE() << path << " was read";
        } catch (const FileError& error) {
            const std::string start = "File error: cannot read the event script " + path + ": ";
            const std::string text = error.what();
            EXPECT_EQ(text.substr(0, start.size()), start);
            EXPECT_EQ(text.find('\n'), std::string::npos) << text;
            if (!reason.empty()) {
                EXPECT_EQ(text.substr(start.size()), reason);
            }
        }
    }
    std::ofstream(dir.Path() / "s.txt") << "down 1 2\nup 1 2\n";
    EXPECT_EQ(ReadEventScript(dir.File("s.txt"), CalendarEditor::ScriptVerbs()).size(), 2U);
}

} // namespace
} // namespace velmar::test
