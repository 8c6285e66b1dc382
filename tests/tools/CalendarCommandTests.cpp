// velmar-profiles calendar and render-calendar, run as the tool runs them.

#include "calendar/Calendar.h"
#include "editor_host/EditedFiles.h"
#include "platform/BinaryFile.h"
#include "platform/DateServices.h"
#include "profiles/ProfileFile.h"
#include "tests/support/FileFaults.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/ToolRun.h"

#include <QImage>
#include <QLocale>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace velmar::tool {
namespace {

using test::TempDir;

using test::ToolRun;

ToolRun RunCalendar(const Arguments& args) {
    return test::RunTool("calendar", args);
}

std::int32_t Offset(int year, int month, int day) {
    return static_cast<std::int32_t>(DayOffsetOf(year, month, day));
}

class CalendarCommandTest : public ::testing::Test {
protected:
    CalendarCommandTest() {
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        cCalendar calendar;
        calendar.SetDayType(Offset(2000, 1, 1), 7);
        calendar.SetDayType(Offset(2000, 10, 9), 9);
        calendar.SetDayType(Offset(2010, 12, 24), 23);
        calendar.SetDayType(Offset(2039, 12, 31), 1);
        calendar.SaveToDisk(calendarFile);
    }

public:
    ~CalendarCommandTest() override { QLocale::setDefault(QLocale::c()); }

protected:
    void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

    ToolRun Render(Arguments args) {
        args.insert(args.begin(),
                    {calendarFile, "--month", "2000-10", "--today", "2000-10-08", "--out", png});
        return test::RunTool("render-calendar", args);
    }

    QColor PixelOf(int x, int y) const { return QImage(QString::fromStdString(png)).pixelColor(x, y); }

    TempDir dir;
    std::string calendarFile = dir.File("year.cal");
    std::string png = dir.File("month.png");
};

TEST_F(CalendarCommandTest, CalendarListsEveryDateWithACode) {
    const ToolRun all = RunCalendar({calendarFile});
    EXPECT_EQ(all.Status, 0) << all.Err;
    EXPECT_EQ(all.Out, "2000-01-01 7\n2000-10-09 9\n2010-12-24 23\n2039-12-31 1\n");

    const ToolRun year = RunCalendar({calendarFile, "--year", "2010"});
    EXPECT_EQ(year.Out, "2010-12-24 23\n");
    EXPECT_EQ(RunCalendar({calendarFile, "--year", "2011"}).Out, "");
}

TEST_F(CalendarCommandTest, CalendarRefusesMissingFilesAndBadArguments) {
    const ToolRun missing = RunCalendar({dir.File("none.cal")});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Out, "");
    EXPECT_EQ(std::count(missing.Err.begin(), missing.Err.end(), '\n'), 1) << missing.Err;
    EXPECT_NE(missing.Err.find("none.cal"), std::string::npos);

    EXPECT_EQ(RunCalendar({dir.File("wi*.cal")}).Status, 1);
    EXPECT_EQ(RunCalendar({}).Status, 2);
    EXPECT_EQ(RunCalendar({calendarFile, "--year"}).Status, 2);
    EXPECT_EQ(RunCalendar({calendarFile, "--year", "1999"}).Status, 2);
    EXPECT_EQ(RunCalendar({calendarFile, "--year", "20x0"}).Status, 2);
    EXPECT_EQ(RunCalendar({calendarFile, "--frob"}).Status, 2);
    EXPECT_EQ(RunCalendar({calendarFile, calendarFile}).Status, 2);
    EXPECT_EQ(RunCalendar({"--help"}).Status, 0);
}

TEST_F(CalendarCommandTest, CalendarTellsACalendarFromOtherFiles) {
    // Text read as codes: "ro" is 28530.
    std::string text;
    while (text.size() < kCalendarFileBytes) {
        text += "root:x:0:0:root:/root:/bin/bash\n";
    }
    WriteText(dir.File("passwd"), text);
    cCalendar negative;
    negative.SetDayType(Offset(2000, 1, 3), 5);
    negative.SetDayType(Offset(2024, 2, 29), -2);
    negative.SaveToDisk(dir.File("negative.cal"));
    WriteText(dir.File("short.cal"), std::string(100, '\0'));
    const std::string fifo = dir.File("pipe.cal");
    ASSERT_TRUE(test::MakeFifo(fifo));
    const std::string prefix = "velmar-profiles: calendar: File error: ";
    struct Case {
        std::string Path;
        std::string Err;    // the one line, after the prefix
        std::string Forced; // what --force lists; "-" when it fails as well
    };
    const std::vector<Case> cases = {
        {dir.File("passwd"),
         dir.File("passwd") +
             " is not a calendar file: 2000-01-01 has code 28530, outside 0 to 23 (--force lists it anyway)",
         "2000-01-01 28530\n"},
        {dir.File("negative.cal"),
         dir.File("negative.cal") +
             " is not a calendar file: 2024-02-29 has code -2, outside 0 to 23 (--force lists it anyway)",
         "2000-01-03 5\n2024-02-29 -2\n"},
        {dir.File("short.cal"),
         dir.File("short.cal") +
             " is not a calendar file: it has 100 bytes, a calendar file has 29220 (--force lists it anyway)",
         ""},
        {"/dev/zero", "cannot open \"/dev/zero\": not a regular file", "-"},
        {fifo, "cannot open \"" + fifo + "\": not a regular file", "-"},
        {dir.File(""), "cannot open \"" + dir.File("") + "\": is a directory", "-"},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunCalendar({c.Path});
        EXPECT_EQ(run.Status, 1) << c.Path;
        EXPECT_EQ(run.Out, "") << c.Path;
        EXPECT_EQ(run.Err, prefix + c.Err + "\n");
        const ToolRun forced = RunCalendar({c.Path, "--force"});
        if (c.Forced == "-") {
            EXPECT_EQ(forced.Status, 1) << c.Path;
            EXPECT_EQ(forced.Err, run.Err);
        } else {
            EXPECT_EQ(forced.Status, 0) << c.Path << forced.Err;
            EXPECT_EQ(forced.Out.substr(0, c.Forced.size()), c.Forced) << c.Path;
        }
    }
}

TEST_F(CalendarCommandTest, RenderRefusesToSaveOverAReadOnlyFile) {
    const std::string target = dir.File("readonly.cal");
    cCalendar().SaveToDisk(target);
    std::filesystem::permissions(target, std::filesystem::perms::owner_read);
    const ToolRun run = Render({"--save", target});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "velmar-profiles: render-calendar: File error: cannot save \"" + target +
                           "\": the file is read-only\n");
    EXPECT_EQ(test::ReadFileBytes(target), test::Bytes(kCalendarFileBytes, 0));
}

TEST_F(CalendarCommandTest, RenderDrawsTheMonthWithHolidaysImagesAndToday) {
    const ToolRun run = Render({"--holiday", "2000-10-02=Feast", "--hidden-holiday", "2000-10-03=Quiet"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "caption: oktober 2000\n");
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(320, 180));
    EXPECT_EQ(PixelOf(272, 22), QColor(255, 192, 192)) << "Sunday 1 October";
    EXPECT_EQ(PixelOf(272, 47), QColor(0, 255, 255)) << "today, Sunday 8 October";
    EXPECT_EQ(PixelOf(32, 47), QColor(255, 192, 192)) << "holiday on Monday 2 October";
    EXPECT_EQ(PixelOf(72, 47), QColor(255, 192, 192)) << "flagged too, and one label is shown";
    EXPECT_EQ(PixelOf(112, 47), QColor(240, 240, 240)) << "Wednesday 4 October";
    // Code 9 on Monday 9 October draws image 2 at (bx + 30, by + 2) = (60, 72): its frame.
    EXPECT_EQ(PixelOf(60, 72), QColor(40, 40, 40));
    EXPECT_EQ(PixelOf(61, 73), QColor(60, 180, 75));
    EXPECT_EQ(PixelOf(30, 50), QColor(0, 0, 0)) << "grid";
}

// --scale 3: the same month on three times the pixels, images and fills as
// blocks, and the day numbers drawn at the tripled size.
TEST_F(CalendarCommandTest, RenderAtAScaleDrawsTheSameMonthOnMorePixels) {
    ASSERT_EQ(Render({}).Status, 0);
    const QImage plain(QString::fromStdString(png));
    const ToolRun run = Render({"--scale", "3"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "caption: oktober 2000\n");
    const QImage sharp(QString::fromStdString(png));
    ASSERT_EQ(sharp.size(), QSize(960, 540));
    int differing = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            differing += sharp.pixel(3 * x + 1, 3 * y + 1) != plain.pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(sharp.pixelColor(3 * 272 + 2, 3 * 47 + 2), QColor(0, 255, 255)) << "today";
    EXPECT_EQ(sharp.pixelColor(3 * 61 + 1, 3 * 73 + 1), QColor(60, 180, 75)) << "image 2";
    // Texts only: day numbers and week numbers, not enlarged.
    EXPECT_GT(differing, 20);
    EXPECT_LT(differing, plain.width() * plain.height() / 10);
}

TEST_F(CalendarCommandTest, HolidayLabelsKeepTheOrderOfTheCommandLine) {
    // The labels of a date are an ordered collection and the first is the one
    // the pointer tip names, shown in calendars or not.
    const std::string script = dir.File("move.txt");
    WriteText(script, "move 90 57\nmove 130 57\n");
    const ToolRun run =
        Render({"--hidden-holiday", "2000-10-03=Quiet", "--holiday", "2000-10-03=Feast", "--holiday",
                "2000-10-04=Fair", "--events", script, "--hidden-holiday", "2000-10-04=Calm"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "caption: oktober 2000\ntooltip:  (Quiet)\ntooltip:  (Fair)\n");
}

TEST_F(CalendarCommandTest, RenderReplaysMouseEventsAndSavesThePaintedCalendar) {
    const std::string script = dir.File("events.txt");
    WriteText(script, "# paint code 4 onto the 3rd to the 5th\n"
                      "select 5\n"
                      "down 90 57\n"
                      "move 130 57\n"
                      "move 170 57\n"
                      "up 170 57\n"
                      "\n"
                      "move 32 47\n"
                      "select 0\n"
                      "down 210 57\n" // nothing selected: nothing painted
                      "move 250 57\n"
                      "move 15 57\n"
                      "paint\n");
    const std::string saved = dir.File("saved.cal");
    const ToolRun run = Render({"--events", script, "--save", saved, "--hidden-holiday", "2000-10-02=Quiet"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "caption: oktober 2000\n"
                       "tooltip: 4\n"
                       "tooltip: 4\n"
                       "tooltip:  (Quiet)\n"
                       "tooltip: \n"
                       "tooltip: \n"
                       "caption: oktober 2000\n");
    EXPECT_EQ(PixelOf(32, 47), QColor(240, 240, 240)) << "a hidden label leaves the date white";

    const ToolRun listed = RunCalendar({saved, "--year", "2000"});
    EXPECT_EQ(listed.Out, "2000-01-01 7\n2000-10-03 4\n2000-10-04 4\n2000-10-05 4\n2000-10-09 9\n");
    EXPECT_EQ(RunCalendar({calendarFile, "--year", "2000"}).Out, "2000-01-01 7\n2000-10-09 9\n")
        << "the calendar file itself is not changed";
}

TEST_F(CalendarCommandTest, RenderSavesThroughATemporaryFileKeepingTheTailAndTheBackup) {
    // A longer file's tail stays; the file is replaced whole, as the editor
    // saves, and the previous one is kept as NAME~.
    const std::string script = dir.File("paint.txt");
    WriteText(script, "select 5\ndown 90 57\nup 90 57\n");
    const std::string saved = dir.File("tailed.cal");
    test::Bytes before = test::ReadFileBytes(calendarFile);
    before.insert(before.end(), {'t', 'a', 'i', 'l'});
    test::WriteFileBytes(saved, before);

    const ToolRun run = Render({"--events", script, "--save", saved});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const test::Bytes after = test::ReadFileBytes(saved);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(std::equal(after.end() - 4, after.end(), before.end() - 4)) << "the tail is kept";
    EXPECT_EQ(RunCalendar({saved, "--year", "2000"}).Out, "2000-01-01 7\n2000-10-03 4\n2000-10-09 9\n");
    ASSERT_TRUE(std::filesystem::exists(saved + "~")) << "the previous file is kept";
    EXPECT_EQ(test::ReadFileBytes(saved + "~"), before);

    const std::string fresh = dir.File("fresh.cal");
    ASSERT_EQ(Render({"--save", fresh}).Status, 0);
    EXPECT_EQ(test::ReadFileBytes(fresh).size(), 29220U);
    EXPECT_FALSE(std::filesystem::exists(fresh + "~")) << "nothing to keep";
}

TEST_F(CalendarCommandTest, RenderShowsTheProfileScheduleOnTheTimeAxis) {
    const std::string profile = dir.File("Profile_0001.dat");
    {
        BinaryFile file(profile, BinaryFile::Mode::Truncate);
        file.WriteInt16(kProfileFormatVersion);
        ProfileRecord record;
        record.Name = "Office";
        WriteProfileRecord(file, record);
        cTimeSchedule schedule;
        schedule.SetDefaultPeriod(); // Monday to Friday 07:00-16:00
        schedule.SaveToDisk(file);
        file.Close();
    }
    const ToolRun run = Render({"--schedule", profile, "--time-axis"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    // Monday 2 October, box at (30, 45): 07:00 at x = 43, 16:00 at x = 57.
    EXPECT_EQ(PixelOf(43, 64), QColor(128, 128, 128));
    EXPECT_EQ(PixelOf(44, 64), QColor(0, 240, 0));
    EXPECT_EQ(PixelOf(56, 68), QColor(0, 164, 0));
    EXPECT_EQ(PixelOf(57, 64), QColor(128, 128, 128));
    EXPECT_EQ(PixelOf(58, 64), QColor(220, 220, 220));
    // Sunday 1 October (270, 20): the axis without periods, and a 16-line band.
    EXPECT_EQ(PixelOf(300, 39), QColor(220, 220, 220));
    EXPECT_EQ(PixelOf(272, 38), QColor(240, 240, 240));
}

TEST_F(CalendarCommandTest, RenderReportsProblemsOnOneLine) {
    const std::string script = dir.File("bad.txt");
    WriteText(script, "move 1 2\njump 3 4\n");
    const std::string notProfile = dir.File("not a profile.dat");
    WriteText(notProfile, std::string("\x05\x00", 2));
    struct Case {
        Arguments args;
        int status;
        const char* mentions;
    };
    const std::vector<Case> cases = {
        {{dir.File("none.cal"), "--month", "2000-10", "--out", png}, 1, "none.cal"},
        {{"/dev/zero", "--month", "2000-10", "--out", png}, 1, "\"/dev/zero\": not a regular file"},
        {{calendarFile, "--month", "2000-10", "--out", png, "--schedule", dir.File("none.dat")},
         1,
         "none.dat"},
        {{calendarFile, "--month", "2000-10", "--out", png, "--schedule", notProfile}, 1, "version 5"},
        {{calendarFile, "--month", "2000-10", "--out", png, "--events", script},
         2,
         "bad.txt:2: unknown command"},
        {{calendarFile, "--month", "2000-10", "--out", png, "--events", dir.File("none.txt")}, 1, "none.txt"},
        {{calendarFile, "--month", "2000-10", "--out", dir.File("no folder/m.png")}, 1, "m.png"},
        {{calendarFile, "--out", png}, 2, "--month"},
        {{calendarFile, "--month", "2000-10"}, 2, "--out"},
        {{calendarFile, "--month", "1999-12", "--out", png}, 2, "--month"},
        {{calendarFile, "--month", "2000-13", "--out", png}, 2, "--month"},
        {{calendarFile, "--month", "2000-10", "--out", png, "--today", "2000-02-30"}, 2, "--today"},
        {{calendarFile, "--month", "2000-10", "--out", png, "--holiday", "2000-10-02"}, 2, "--holiday"},
        {{calendarFile, "--month", "2000-10", "--out", png, "--holiday", "2040-01-01=Late"}, 2, "--holiday"},
        {{calendarFile, "--month", "2000-10", "--out", png, "--scale", "0"}, 2, "--scale needs a number"},
        {{"--month", "2000-10", "--out", png}, 2, "calendar file"},
    };
    for (const Case& c : cases) {
        const ToolRun run = test::RunTool("render-calendar", c.args);
        EXPECT_EQ(run.Status, c.status) << c.mentions << ": " << run.Err;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
        EXPECT_NE(run.Err.find(c.mentions), std::string::npos) << run.Err;
    }
}

} // namespace
} // namespace velmar::tool
