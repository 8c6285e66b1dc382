// The editors of the host library: a component, its host and a picture box,
// driven as a window drives them or by an event script; and the one reader of
// profile files.

#include "common/Errors.h"
#include "editor_host/CalendarEditor.h"
#include "editor_host/ScheduleEditor.h"
#include "platform/BinaryFile.h"
#include "profiles/ProfileFile.h"
#include "tests/editor_host/FakeImageList.h"
#include "tests/support/RecordingSurface.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>
#include <sstream>

namespace velmar::test {
namespace {

std::vector<std::pair<int, int>> Times(const cTimeSchedule& schedule, int dayType) {
    std::vector<std::pair<int, int>> times;
    for (const auto& period : schedule.Periods(static_cast<std::int16_t>(dayType))) {
        times.emplace_back(period->m_StartMinute, period->m_StopMinute);
    }
    return times;
}

std::vector<ScriptCommand> Script(const std::string& text, const std::vector<ScriptVerb>& verbs) {
    std::istringstream in(text);
    return ParseEventScript(in, "script", verbs);
}

TEST(ScheduleEditor, AScriptEditsTheScheduleAndLeavesTheHostsControlsAsAWindowWouldShowThem) {
    auto schedule = std::make_shared<cTimeSchedule>();
    schedule->SetDefaultPeriod();
    RecordingSurface picture(324, 179);
    FakeImageList images;
    ScheduleEditor editor(schedule, picture, images);
    editor.Layout();
    editor.Paint();
    EXPECT_EQ(editor.Host().Controls().PictureHeight, 179);
    EXPECT_EQ(editor.Host().Controls().VScrollMax, 0);
    for (const auto& command : Script("down 150 10\n"
                                      "up 150 10\n"
                                      "times 6:00 \"18:00\"\n"
                                      "down 150 135 2\n",
                                      ScheduleEditor::ScriptVerbs())) {
        editor.Run(command);
    }
    for (int d = 0; d < 5; ++d) {
        EXPECT_EQ(Times(*schedule, d), (std::vector<std::pair<int, int>>{{360, 1080}})) << d;
    }
    const ScheduleHostControls& controls = editor.Host().Controls();
    EXPECT_EQ(controls.TimeText, "10:00");
    EXPECT_EQ(controls.PeriodStartText, "06:00");
    EXPECT_EQ(controls.PeriodStopText, "18:00");
    EXPECT_TRUE(controls.GroupedMonFriChecked);
    EXPECT_FALSE(controls.GroupedChecked); // Saturday
    EXPECT_TRUE(controls.DeleteEnabled);
    // A menu command after the right press works on Saturday.
    editor.Run(Script("fill\n", ScheduleEditor::ScriptVerbs()).front());
    EXPECT_EQ(Times(*schedule, 5), (std::vector<std::pair<int, int>>{{0, 1440}}));
    // The full repaint clears the picture box first.
    picture.ClearOperations();
    editor.Paint();
    ASSERT_FALSE(picture.Operations().empty());
    EXPECT_EQ(picture.Operations().front().Describe(), "FillRect(0,0,324,179,#ffffff)");
}

TEST(CalendarEditor, ScriptsSelectAnEntryAndPaintItsCodeWithTheMouse) {
    RecordingSurface picture(320, 180);
    FakeImageList images;
    CalendarEditor editor(picture, images);
    editor.ShowMonth(2000, 10); // starts on a Sunday: the 3rd is at (90, 57)
    for (const auto& command : Script("select 5\ndown 90 57\nmove 130 57\nup 130 57\nselect 0\ndown 170 57\n",
                                      CalendarEditor::ScriptVerbs())) {
        editor.Run(command);
    }
    const std::int32_t third = editor.Calendar().m_ActualMonthOffset + 2;
    EXPECT_EQ(editor.Calendar().GetDayType(third), 4);
    EXPECT_EQ(editor.Calendar().GetDayType(third + 1), 4);
    EXPECT_EQ(editor.Calendar().GetDayType(third + 2), 0) << "nothing selected, nothing painted";
    EXPECT_EQ(editor.Host().Controls().MonthText, "October 2000");
}

// A key name is the script's own bytes: an unknown one is named escaped, so
// that the message stays one line of text that cannot drive a terminal.
TEST(Editors, AnUnknownKeyIsNamedWithItsBytesEscaped) {
    const std::string script = std::string("key \"\x17\x1B[2J\"\n");
    RecordingSurface picture(324, 179);
    FakeImageList images;
    auto schedule = std::make_shared<cTimeSchedule>();
    schedule->SetDefaultPeriod();
    ScheduleEditor scheduleEditor(schedule, picture, images);
    CalendarEditor calendarEditor(picture, images);
    const auto messageOf = [&](auto& editor, const std::vector<ScriptVerb>& verbs) {
        try {
            editor.Run(Script(script, verbs).front());
        } catch (const InvalidArgumentError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    for (const std::string& message : {messageOf(scheduleEditor, ScheduleEditor::ScriptVerbs()),
                                       messageOf(calendarEditor, CalendarEditor::ScriptVerbs())}) {
        EXPECT_NE(message.find("no key \"\\x17\\x1B[2J\" ("), std::string::npos) << message;
    }
}

// Whatever a failed read left in the table is not the calendar the user had:
// saving it would overwrite a good file with it.
TEST(CalendarEditor, ACalendarWhoseFileCouldNotBeReadIsNeverSaved) {
    TempDir dir;
    cCalendar original;
    original.SetDayType(100, 9);
    const std::string good = dir.File("good.cal");
    original.SaveToDisk(good);
    RecordingSurface picture(320, 180);
    FakeImageList images;
    CalendarEditor editor(picture, images);
    EXPECT_TRUE(editor.Saveable()) << "a new calendar";

    // The search finds a file for the wildcard, which then cannot be opened.
    EXPECT_THROW(editor.Open(dir.File("go*.cal")), FileError);
    EXPECT_FALSE(editor.Saveable());
    EXPECT_THROW(editor.Save(good), FileError);
    EXPECT_THROW(editor.Save(dir.File("new.cal")), FileError);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "new.cal"));
    // A missing file changes nothing, not even that.
    EXPECT_FALSE(editor.Open(dir.File("missing.cal")));
    EXPECT_THROW(editor.Save(good), FileError);
    EXPECT_EQ(original.CompareToDisk(good), -1);

    // A file read completely can be saved again.
    EXPECT_TRUE(editor.Open(good));
    editor.Save(dir.File("copy.cal"));
    EXPECT_EQ(original.CompareToDisk(dir.File("copy.cal")), -1);
}

TEST(ReadProfileFile, ReadsTheRecordAndTheScheduleAsTheLoaderDoes) {
    TempDir dir;
    const std::string path = dir.File("Profile_0001.dat");
    {
        BinaryFile file(path, BinaryFile::Mode::Truncate);
        file.WriteInt16(kProfileFormatVersion);
        ProfileRecord record;
        record.Name = "Kontor";
        record.Active = -1;
        WriteProfileRecord(file, record);
        cTimeSchedule schedule;
        schedule.SetDefaultPeriod();
        schedule.SaveToDisk(file);
        file.Close();
    }
    const ProfileFileContents contents = ReadProfileFile(path);
    EXPECT_EQ(contents.Record.Name, "Kontor");
    EXPECT_EQ(contents.Record.Active, -1);
    EXPECT_TRUE(contents.RecordComplete);
    EXPECT_TRUE(contents.ScheduleComplete);
    EXPECT_EQ(contents.ScheduleEnd - contents.ScheduleStart, 206U);
    EXPECT_EQ(contents.ScheduleEnd, contents.Size);
    EXPECT_EQ(Times(*contents.Schedule, 4), (std::vector<std::pair<int, int>>{{420, 960}}));
}

TEST(ReadProfileFile, RefusesFilesTheProgramCannotLoadNamingThem) {
    TempDir dir;
    struct Case {
        const char* name;
        Bytes bytes;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"empty.dat", {}, "empty.dat: not a profile file (0 bytes"},
        {"odd.dat", {4}, "odd.dat: not a profile file (1 bytes"},
        {"v3.dat", {3, 0, 0, 0}, "v3.dat: format version 3, only version 4 can be read"},
    };
    for (const auto& c : cases) {
        WriteFileBytes(dir.Path() / c.name, c.bytes);
        try {
            ReadProfileFile(dir.File(c.name));
            ADD_FAILURE() << c.name;
        } catch (const FileError& error) {
            EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
        }
    }
    EXPECT_THROW(ReadProfileFile(dir.File("missing.dat")), FileError);
}

} // namespace
} // namespace velmar::test
