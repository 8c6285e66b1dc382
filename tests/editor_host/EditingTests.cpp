// What an editor window builds on: keyboard editing, undo and redo, files kept
// byte for byte, the texts it fills in, and iCalendar files.

#include "calendar/Calendar.h"
#include "common/CommonProcedures.h"
#include "common/Errors.h"
#include "common/SharedTables.h"
#include "editor_host/CalendarEditor.h"
#include "editor_host/DayTypeTexts.h"
#include "editor_host/EditedFiles.h"
#include "editor_host/FileLimits.h"
#include "editor_host/ICalendar.h"
#include "editor_host/ScheduleEditor.h"
#include "editor_host/SharedTablesScope.h"
#include "platform/BinaryFile.h"
#include "platform/DateServices.h"
#include "platform/FileReplace.h"
#include "tests/editor_host/FakeImageList.h"
#include "tests/support/RecordingSurface.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPlatform.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace velmar::test {
namespace {

using Periods = std::vector<std::pair<int, int>>;

Periods Times(const cTimeSchedule& schedule, int dayType) {
    Periods times;
    for (const auto& period : schedule.Periods(static_cast<std::int16_t>(dayType))) {
        times.emplace_back(period->m_StartMinute, period->m_StopMinute);
    }
    return times;
}

std::string Repeated(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += line;
    }
    return text;
}

// A schedule editor on a recording picture box, laid out, running a script.
struct ScheduleFixture {
    SchedulePtr Schedule = std::make_shared<cTimeSchedule>();
    RecordingSurface Picture{324, 179};
    FakeImageList Images;
    ScheduleEditor Editor{Schedule, Picture, Images};

    ScheduleFixture() {
        Editor.Layout();
        Editor.Paint();
    }
    void Run(const std::string& script) {
        std::istringstream in(script);
        for (const auto& command : ParseEventScript(in, "script", ScheduleEditor::ScriptVerbs())) {
            Editor.Run(command);
        }
    }
};

TEST(ScheduleKeyboard, KeysMoveTheCursorAndEditThroughTheSameMergeAndGroupAsTheMouse) {
    struct Case {
        const char* Name;
        std::string Script;
        Periods Monday;
        Periods Tuesday;
        const char* Start; // the time boxes after the script
        const char* Stop;
    };
    // Monday to Friday grouped with 07:00-16:00 ("default") in every case.
    const Case cases[] = {
        {"insert adds 08:00-17:00, merged with 07:00-16:00",
         "key down\nkey insert\n",
         {{420, 1020}},
         {{420, 1020}},
         "07:00",
         "17:00"},
        {"right selects the start edge, shift-right moves it",
         "key down\nkey right\nkey shift-right\n",
         {{425, 960}},
         {{425, 960}},
         "07:05",
         "16:00"},
        {"the second edge is the stop, shift-left moves it",
         "key down\nkey right\nkey right\nkey shift-left\n",
         {{420, 955}},
         {{420, 955}},
         "07:00",
         "15:55"},
        {"delete removes the selected period alone", "key down\nkey right\nkey delete\n", {}, {}, "", ""},
        {"an edge stops at 00:00",
         "key down\nkey right\n" + Repeated("key shift-left\n", 90),
         {{0, 960}},
         {{0, 960}},
         "00:00",
         "16:00"},
        {"a start moved past the stop swaps them, the stop edge moves on",
         "key down\nkey right\nkey right\nkey shift-left\ndown 150 10\nup 150 10\nkey right\n",
         {{420, 955}},
         {{420, 955}},
         "07:00",
         "15:55"},
        {"keys on an ungrouped day leave the group alone",
         "key down\nkey down\nkey down\nkey down\nkey down\nkey down\nkey insert\n",
         {{420, 960}},
         {{420, 960}},
         "08:00",
         "17:00"},
    };
    for (const Case& c : cases) {
        ScheduleFixture f;
        f.Run("default\n" + c.Script);
        EXPECT_EQ(Times(*f.Schedule, 0), c.Monday) << c.Name;
        EXPECT_EQ(Times(*f.Schedule, 1), c.Tuesday) << c.Name;
        EXPECT_EQ(f.Editor.Host().Controls().PeriodStartText, c.Start) << c.Name;
        EXPECT_EQ(f.Editor.Host().Controls().PeriodStopText, c.Stop) << c.Name;
    }
}

TEST(ScheduleKeyboard, TheCursorStaysOnDrawnRowsAndFollowsAPress) {
    ScheduleFixture f;
    f.Run("key up\n");
    EXPECT_EQ(f.Editor.CursorDayType(), 0) << "the first key places the cursor on the top row";
    f.Run("key down\nkey down\nkey down\nkey down\nkey down\nkey down\nkey down\nkey down\n");
    EXPECT_EQ(f.Editor.CursorDayType(), 6) << "Sunday is the last row drawn";
    f.Run("down 150 60\nup 150 60\n"); // row 2
    EXPECT_EQ(f.Editor.CursorDayType(), 2);
    f.Run("key insert\nkey delete\nkey delete\n");
    EXPECT_EQ(Times(*f.Schedule, 2), Periods{}) << "a second delete has no period to delete";
}

TEST(ScheduleEditor, UndoAndRedoEveryEditToAnyDepth) {
    ScheduleFixture f;
    const std::string opened = f.Schedule->ComposePeriodArray();
    f.Run("default\n"
          "down 234 10\nmove 258 10\nup 258 10\n" // drag 17:00-19:00 on Monday; the group copies it
          "times 06:00 18:00\n"
          "down 150 135 2\nfill\n"
          "key down\nkey insert\n");
    const std::string edited = f.Schedule->ComposePeriodArray();
    EXPECT_TRUE(f.Editor.History().Modified());
    int steps = 0;
    while (f.Editor.Undo()) {
        ++steps;
    }
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(f.Schedule->ComposePeriodArray(), opened);
    EXPECT_FALSE(f.Editor.History().Modified());
    EXPECT_EQ(f.Schedule->SelectedPeriod(), nullptr) << "an undo leaves no period of another state selected";
    while (f.Editor.Redo()) {
    }
    EXPECT_EQ(f.Schedule->ComposePeriodArray(), edited);

    // Undo after a save modifies the document again; a redo back does not.
    f.Editor.History().MarkSaved();
    f.Run("undo\n");
    EXPECT_TRUE(f.Editor.History().Modified());
    f.Run("redo\n");
    EXPECT_FALSE(f.Editor.History().Modified());
    // A new edit after an undo drops the undone steps.
    f.Run("undo\nkey insert\n");
    EXPECT_FALSE(f.Editor.History().CanRedo());
}

TEST(ScheduleEditor, AClickOrAnEmptyMenuCommandAddsNoUndoStep) {
    ScheduleFixture f;
    f.Run("down 150 10\nup 150 10\ndown 150 10 2\npaste\ncopy\nkey up\nkey left\n");
    EXPECT_FALSE(f.Editor.History().CanUndo());
}

TEST(CalendarEditor, KeysMoveADateCursorAcrossMonthsAndSpacePaintsTheSelectedCode) {
    RecordingSurface picture(320, 180);
    FakeImageList images;
    CalendarEditor editor(picture, images);
    editor.ShowMonth(2026, 12);
    std::istringstream in("select 6\nkey right\nkey space\nkey up\nkey space\nkey page-down\nkey space\n"
                          "key up\nkey up\nkey up\nkey up\nkey space\n");
    for (const auto& command : ParseEventScript(in, "s", CalendarEditor::ScriptVerbs())) {
        editor.Run(command);
    }
    auto code = [&](int year, int month, int day) {
        return editor.Calendar().GetDayType(static_cast<std::int32_t>(DayOffsetOf(year, month, day)));
    };
    EXPECT_EQ(code(2026, 12, 1), 5) << "the first key places the cursor on day 1";
    EXPECT_EQ(code(2026, 11, 24), 5) << "a week up from the 1st is in November, which is now shown";
    EXPECT_EQ(code(2026, 12, 24), 5) << "page-down keeps the day number";
    EXPECT_EQ(code(2026, 11, 26), 5) << "four weeks up from December 24th";
    EXPECT_EQ(editor.Calendar().m_SelectedMonth, 11);
    // Every month shown starts from a clear picture box: the view draws over
    // what is there, and the last days and week numbers of the month before would stay.
    std::size_t clears = 0;
    for (const auto& operation : picture.Operations()) {
        clears += operation.Describe() == "FillRect(0,0,320,180,#ffffff)" ? 1 : 0;
    }
    EXPECT_EQ(clears, 4U) << "December, November, December, November";
    int steps = 0;
    while (editor.Undo()) {
        ++steps;
    }
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(code(2026, 12, 24), 0);

    // The cursor and the months stay within 2000 to 2039.
    editor.ShowMonth(2039, 12);
    editor.StepMonth(5);
    EXPECT_EQ(editor.Calendar().m_SelectedYear, 2039);
    EXPECT_EQ(editor.Calendar().m_SelectedMonth, 12);
    editor.ShowMonth(2000, 1);
    for (int i = 0; i < 40; ++i) {
        editor.Key(i % 2 == 0 ? CalendarKey::Left : CalendarKey::Up);
    }
    EXPECT_EQ(editor.CursorDay(), 0);
}

TEST(EditedFiles, NamesSayWhatAFileIs) {
    const std::pair<const char*, EditedKind> cases[] = {
        {"Profile_0007.dat", EditedKind::Profile},  {"PROFILE_1234.DAT", EditedKind::Profile},
        {"profile_0001.Dat", EditedKind::Profile},  {"Profile_007.dat", EditedKind::Calendar},
        {"Profile_00a7.dat", EditedKind::Calendar}, {"Profile_0007.dat~", EditedKind::Calendar},
        {"holidays.cal", EditedKind::Calendar},     {"", EditedKind::Calendar},
    };
    for (const auto& [name, kind] : cases) {
        EXPECT_EQ(KindByName(name), kind) << name;
    }
}

// A profile file with a record, the schedule record of `schedule` and a tail.
Bytes ProfileBytes(const cTimeSchedule& schedule, const Bytes& tail) {
    ByteWriter writer;
    writer.Int16(4).Int16(7).Int16(-1).Text("Kontor").Zeros(12).Text("t1").Text("");
    for (int i = 0; i < 6; ++i) {
        writer.Text("list");
    }
    writer.Zeros(6).Text("").Zeros(4).Text("x").Text("").Zeros(130);
    const FileBytes record = ScheduleRecordBytes(schedule);
    writer.Raw(Bytes(record.begin(), record.end())).Raw(tail);
    return writer.Data();
}

TEST(EditedFiles, AProfileIsSavedByRewritingOnlyItsScheduleRecord) {
    TempDir dir;
    cTimeSchedule original;
    original.SetDefaultPeriod();
    const Bytes tail = {0xDE, 0xAD, 0xBE, 0xEF};
    const std::string path = dir.File("Profile_0001.dat");
    WriteFileBytes(path, ProfileBytes(original, tail));

    const OpenedProfile opened = OpenProfile(path);
    EXPECT_EQ(opened.Contents.Record.Name, "Kontor");
    cTimeSchedule edited;
    edited.ExtractPeriodArray(opened.Contents.Schedule->ComposePeriodArray());
    edited.SetDefaultPeriod(); // five more periods: the record grows by 20 bytes
    const FileBytes saved = ProfileWithSchedule(opened, edited);
    EXPECT_EQ(saved.size(), opened.Bytes.size() + 20);
    EXPECT_TRUE(
        std::equal(opened.Bytes.begin(), opened.Bytes.begin() + opened.Contents.ScheduleStart, saved.begin()))
        << "every byte before the schedule record stays";
    EXPECT_TRUE(std::equal(tail.rbegin(), tail.rend(), saved.rbegin())) << "the bytes behind it stay";

    // The record is what SaveToDisk writes.
    {
        BinaryFile file(dir.File("record"), BinaryFile::Mode::Truncate);
        edited.SaveToDisk(file);
        file.Close();
    }
    const Bytes written = ReadFileBytes(dir.File("record"));
    EXPECT_EQ(ScheduleRecordBytes(edited), FileBytes(written.begin(), written.end()));
    // And it reads back as the edited schedule.
    WriteFileBytes(path, Bytes(saved.begin(), saved.end()));
    EXPECT_EQ(OpenProfile(path).Contents.Schedule->ComposePeriodArray(), edited.ComposePeriodArray());
}

TEST(EditedFiles, AProfileThatEndsInsideItsRecordsIsNotOpenedForEditing) {
    TempDir dir;
    cTimeSchedule schedule;
    const Bytes whole = ProfileBytes(schedule, {});
    for (const std::size_t cut : {std::size_t{1}, std::size_t{40}, whole.size() - 1}) {
        WriteFileBytes(dir.File("Profile_0002.dat"),
                       Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)));
        EXPECT_THROW(OpenProfile(dir.File("Profile_0002.dat")), FileError) << cut;
    }
}

TEST(EditedFiles, ACalendarKeepsTheTailOfALongerFileAndRefusesAShortOne) {
    TempDir dir;
    Bytes bytes(kCalendarFileBytes + 3, 0);
    bytes[2 * 100] = 9;
    bytes[kCalendarFileBytes] = 'T';
    WriteFileBytes(dir.File("long.cal"), bytes);
    cCalendar calendar;
    const FileBytes opened = OpenCalendar(dir.File("long.cal"), calendar);
    EXPECT_EQ(calendar.GetDayType(100), 9);
    calendar.SetDayType(14609, -2);
    const FileBytes saved = CalendarWithCodes(calendar, opened);
    ASSERT_EQ(saved.size(), bytes.size());
    EXPECT_EQ(saved[kCalendarFileBytes], 'T');
    EXPECT_EQ(saved[kCalendarFileBytes - 2], 0xFE);
    EXPECT_EQ(saved[kCalendarFileBytes - 1], 0xFF);
    EXPECT_EQ(CalendarWithCodes(calendar, {}).size(), kCalendarFileBytes);

    WriteFileBytes(dir.File("short.cal"), Bytes(100, 1));
    cCalendar untouched;
    EXPECT_THROW(OpenCalendar(dir.File("short.cal"), untouched), FileError);
    EXPECT_EQ(untouched.GetDayType(0), 0);
}

TEST(EditedFiles, SavingKeepsThePreviousFileAndNoticesAFileRewrittenMeanwhile) {
    TempDir dir;
    const std::string path = dir.File("Profile_0003.dat");
    WriteFileBytes(path, {1, 2, 3});
    if (test::kPosixSystem) {
        // Windows keeps no POSIX modes: a file there is writable or read-only.
        std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::owner_write |
                                               std::filesystem::perms::group_read);
    }
    EditedFile file(path, ReadWholeFile(path));
    EXPECT_FALSE(file.ChangedOnDisk());

    file.Save(path, {4, 5});
    EXPECT_EQ(ReadFileBytes(path), (Bytes{4, 5}));
    EXPECT_EQ(ReadFileBytes(BackupPathOf(path)), (Bytes{1, 2, 3}));
    if (test::kPosixSystem) {
        EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                      std::filesystem::perms::group_read)
            << "the new file has the old one's permissions";
    }
    EXPECT_FALSE(file.ChangedOnDisk());

    WriteFileBytes(path, {4, 6}); // the server rewrote it
    EXPECT_TRUE(file.ChangedOnDisk());
    std::filesystem::remove(path);
    EXPECT_TRUE(file.ChangedOnDisk()) << "a removed file changed too";

    // Only the file and its backup are left: no temporary files.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1U);
}

TEST(EditedFiles, OpeningReadsNoMoreThanAFileOfItsKindHoldsAndRemovesStaleTemporaries) {
    TempDir dir;
    const auto sized = [&](const std::string& name, std::uintmax_t size) {
        WriteFileBytes(dir.Path() / name, {});
        std::filesystem::resize_file(dir.Path() / name, size);
        return dir.File(name);
    };
    const auto reasonOf = [](const std::function<void()>& open) {
        try {
            open();
        } catch (const FileError& error) {
            return error.Reason();
        }
        return std::string("opened");
    };
    cCalendar calendar;
    EXPECT_EQ(reasonOf([&] { OpenProfile(sized("Profile_0001.dat", kLargestProfileFile + 1)); }),
              "too large for a profile file (3801353 bytes; at most 3801352 bytes)");
    EXPECT_EQ(reasonOf([&] { OpenCalendar(sized("huge.cal", (std::uintmax_t{16} << 20U) + 1), calendar); }),
              "too large for a calendar file (16777217 bytes; at most 16 MiB)");
    EXPECT_EQ(reasonOf([&] { OpenCalendar(sized("largest.cal", std::uintmax_t{16} << 20U), calendar); }),
              "opened");

    // A save killed long ago left its temporaries; opening the file removes them.
    constexpr std::int64_t kGone = 2147483000; // beyond any process id in use
    const std::string temporary = dir.File(TemporaryNameOf("largest.cal", kGone, 0));
    const std::string ofBackup = dir.File(TemporaryNameOf("largest.cal~", kGone, 3));
    WriteFileBytes(temporary, {1});
    WriteFileBytes(ofBackup, {1});
    OpenCalendar(dir.File("largest.cal"), calendar);
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_FALSE(std::filesystem::exists(ofBackup));

    // A file that grew is changed, whatever its first bytes.
    const std::string path = dir.File("year.cal");
    WriteFileBytes(path, Bytes(kCalendarFileBytes, 0));
    const EditedFile file(path, OpenCalendar(path, calendar));
    EXPECT_FALSE(file.ChangedOnDisk());
    std::filesystem::resize_file(path, kCalendarFileBytes + 1);
    EXPECT_TRUE(file.ChangedOnDisk());
}

TEST(EditedFiles, AWriteThatFailsLeavesTheFileAsItWas) {
    TempDir dir;
    const std::string path = dir.File("gone/Profile_0004.dat");
    EditedFile file;
    EXPECT_THROW(file.Save(path, {1}), FileError) << "a folder that does not exist";
    EXPECT_FALSE(file.HasPath());
    // A target that is a folder cannot be replaced by a file.
    std::filesystem::create_directory(dir.Path() / "folder");
    EXPECT_THROW(file.Save(dir.File("folder"), {1}), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "folder"));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1U) << "no temporary file is left";
}

TEST(DayTypeTexts, TheHostFillsNamesAndWeekdayTextsInTheSystemsLanguage) {
    SharedTablesScope scope;
    const std::pair<const char*, EditorLanguage> locales[] = {
        {"sv_SE", EditorLanguage::Swedish},       {"sv", EditorLanguage::Swedish},
        {"sv_FI.UTF-8", EditorLanguage::Swedish}, {"en_GB", EditorLanguage::English},
        {"svx", EditorLanguage::English},         {"C", EditorLanguage::English},
    };
    for (const auto& [name, language] : locales) {
        EXPECT_EQ(LanguageOfLocale(name), language) << name;
    }
    FillDayTypeTexts(EditorLanguage::Swedish);
    EXPECT_EQ(DayTypeNames[0], "Mån");
    EXPECT_EQ(DayTypeLongNames[6], "Söndag");
    EXPECT_EQ(DayTypeLongNames[7], "Specialdag 1");
    EXPECT_EQ(GetText(611), "Måndag");
    EXPECT_EQ(GetText(617), "Söndag");
    FillDayTypeTexts(EditorLanguage::English);
    EXPECT_EQ(GetText(611), "Monday") << "refilling replaces the weekday texts";
    EXPECT_EQ(GetText(616), "Saturday");
    EXPECT_EQ(DayTypeComboItems(EditorLanguage::English).size(), 24U);
    EXPECT_EQ(DayTypeComboItems(EditorLanguage::English)[1], "Monday") << "entry 2 is code 1, Monday";
}

TEST(DayTypeTexts, NoCalendarHeadingReadsInvOnceTheHostFilledTheTexts) {
    SharedTablesScope scope;
    FillDayTypeTexts(EditorLanguage::Swedish);
    RecordingSurface picture(320, 180);
    FakeImageList images;
    CalendarEditor editor(picture, images);
    editor.ShowMonth(2026, 12);
    std::vector<std::string> printed;
    for (const auto& operation : picture.Operations()) {
        if (operation.What == SurfaceOperation::Kind::Print && operation.Bold) {
            printed.push_back(operation.Text);
        }
    }
    EXPECT_EQ(printed, (std::vector<std::string>{"Mån", "Tis", "Ons", "Tor", "Fre", "Lör", "Sön"}));
}

TEST(ICalendar, ACalendarsCodedDatesBecomeAllDayEvents) {
    cCalendar calendar;
    calendar.SetDayType(static_cast<std::int32_t>(DayOffsetOf(2026, 12, 24)), 7);
    calendar.SetDayType(static_cast<std::int32_t>(DayOffsetOf(2039, 12, 31)), 9);
    calendar.SetDayType(0, 40);
    const std::string text = CalendarToICalendar(
        calendar, {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun; Christmas, Eve", "S1", "Special 2"},
        {"20260101T000000Z", "cal"});
    EXPECT_NE(text.find("DTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261225\r\nSUMMARY:Sun\\; "
                        "Christmas\\, Eve\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("DTSTART;VALUE=DATE:20391231\r\nDTEND;VALUE=DATE:20400101\r\nSUMMARY:Special 2\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("SUMMARY:Day-type code 40\r\n"), std::string::npos);
    EXPECT_TRUE(text.starts_with("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"));
    EXPECT_TRUE(text.ends_with("END:VCALENDAR\r\n"));
}

TEST(ICalendar, AWeeklyScheduleBecomesWeeklyEventsAndLongLinesAreFolded) {
    cTimeSchedule schedule;
    schedule.SetDefaultPeriod();
    schedule.SetActive(4, 0); // Friday not in use
    const std::string name(80, 'x');
    const std::string text = ScheduleToICalendar(schedule, "Åsa " + name, {"20260101T000000Z", "p"});
    std::size_t events = 0;
    for (std::size_t at = text.find("BEGIN:VEVENT"); at != std::string::npos;
         at = text.find("BEGIN:VEVENT", at + 1)) {
        ++events;
    }
    EXPECT_EQ(events, 4U);
    EXPECT_NE(text.find("DTSTART:20240101T070000\r\nDTEND:20240101T160000\r\nRRULE:FREQ=WEEKLY\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("DTSTART:20240104T070000\r\n"), std::string::npos) << "Thursday";
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 76U) << line; // 75 bytes and the CR
    }

    // 24:00 is midnight of the next day.
    ScheduleFixture f;
    f.Run("down 150 160 2\nfill\n"); // Sunday
    EXPECT_NE(ScheduleToICalendar(*f.Schedule, "p", {"20260101T000000Z", "p"})
                  .find("DTSTART:20240107T000000\r\nDTEND:20240108T000000\r\n"),
              std::string::npos);
}

TEST(ICalendar, HolidayLabelsComeFromTheAllDayEventsOfAFile) {
    const std::string text = "\xEF\xBB\xBF"
                             "BEGIN:VCALENDAR\r\n"
                             "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261227\r\n"
                             "SUMMARY:Jul\\, helg\r\nEND:VEVENT\r\n"
                             "BEGIN:VEVENT\nDTSTART:20261231\nSUMMARY:Nyårs\n afton\nEND:VEVENT\n"
                             "BEGIN:VEVENT\r\nDTSTART:20261201T100000\r\nSUMMARY:Meeting\r\nEND:VEVENT\r\n"
                             "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:19991231\r\nSUMMARY:Before\r\nEND:VEVENT\r\n"
                             "END:VCALENDAR\r\n";
    const auto holidays = ReadHolidayDates(text);
    std::vector<std::string> seen;
    for (const auto& holiday : holidays) {
        const CivilDate date = DateOfDayOffset(holiday.DayOffset);
        seen.push_back(std::to_string(date.Month) + "/" + std::to_string(date.Day) + " " + holiday.Label);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"12/24 Jul, helg", "12/25 Jul, helg", "12/26 Jul, helg",
                                              "12/31 Nyårsafton"}));

    SharedTablesScope scope;
    ShowHolidays(holidays);
    EXPECT_NE(HolidayFlags[holidays[0].DayOffset], 0);
    EXPECT_EQ(HolidayLabels.Count(), 4);
    EXPECT_EQ(HolidayLabels.Item(1)->m_ViewInCalendar, -1);

    for (const char* bad :
         {"", "hello\r\n", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:2026-12\r\n"}) {
        EXPECT_THROW(ReadHolidayDates(bad), InvalidArgumentError) << bad;
    }
}

} // namespace
} // namespace velmar::test
