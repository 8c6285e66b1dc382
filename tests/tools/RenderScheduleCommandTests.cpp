// velmar-profiles render-schedule: a profile's schedule drawn by the headless
// host, scripts replayed, the PNG's pixels and the printed state.

#include "platform/BinaryFile.h"
#include "profiles/ProfileFile.h"
#include "schedule/TimeSchedule.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/ToolRun.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPoint>
#include <array>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>

namespace velmar::tool {
namespace {

// One GUI application for the whole run: the command makes its own only when none exists.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static std::string name = "velmar_render_schedule_tests";
        static std::array<char*, 2> argv = {name.data(), nullptr};
        m_App = std::make_unique<QGuiApplication>(argc, argv.data());
    }
    void TearDown() override { m_App.reset(); }

private:
    std::unique_ptr<QGuiApplication> m_App;
};
const auto* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

struct Result {
    int status = 0;
    std::string out;
    std::string err;
};

class RenderSchedule : public ::testing::Test {
protected:
    // Writes a version-4 profile file whose schedule is `schedule`.
    std::string WriteProfile(const cTimeSchedule& schedule, std::int16_t version = 4) {
        std::string path = m_Dir.File("Profile_0001.dat");
        BinaryFile file(path, BinaryFile::Mode::Truncate);
        file.WriteInt16(version);
        ProfileRecord record;
        record.Name = "Night shift";
        WriteProfileRecord(file, record);
        schedule.SaveToDisk(file);
        file.Close();
        return path;
    }
    std::string WriteScript(const std::string& text) {
        std::string path = m_Dir.File("script.txt");
        std::ofstream(path) << text;
        return path;
    }
    Result Run(const Arguments& args) {
        const test::ToolRun run = test::RunTool("render-schedule", args);
        return {run.Status, run.Out, run.Err};
    }
    std::string Png() const { return m_Dir.File("grid.png"); }
    QImage Image() const { return QImage(QString::fromStdString(Png())); }
    static QColor Rgb(int r, int g, int b) { return QColor(r, g, b); }

    test::TempDir m_Dir;
};

TEST_F(RenderSchedule, DefaultScheduleIsDrawnAndPrinted) {
    cTimeSchedule schedule;
    schedule.SetDefaultPeriod();
    const Result r = Run({WriteProfile(schedule), "--out", Png()});
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage image = Image();
    ASSERT_EQ(image.size(), QSize(324, 179)); // frame 340 less the scroll bar; 7 rows
    EXPECT_EQ(image.pixelColor(114, 4), Rgb(0, 0, 0));
    EXPECT_EQ(image.pixelColor(150, 4), Rgb(0, 240, 0));
    EXPECT_EQ(image.pixelColor(222, 18), Rgb(0, 0, 0));
    EXPECT_EQ(image.pixelColor(223, 4), Rgb(220, 220, 220));
    EXPECT_EQ(image.pixelColor(317, 4), Rgb(255, 255, 255));   // group mark
    EXPECT_EQ(image.pixelColor(150, 129), Rgb(220, 220, 220)); // Saturday: no periods
    EXPECT_EQ(image.pixelColor(318, 100), Rgb(148, 148, 148));
    // The weekday label is printed left of the grid.
    int ink = 0;
    for (int x = 0; x < 28; ++x) {
        for (int y = 4; y < 19; ++y) {
            ink += image.pixelColor(x, y) != Rgb(255, 255, 255) ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 10);
    EXPECT_NE(r.out.find("schedule:\n  use calendar: 0\n"), std::string::npos);
    EXPECT_NE(r.out.find("  day type 0 (Mon): active -1, grouped -1, row 0, periods: 07:00-16:00\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("  day type 5 (Sat): active -1, grouped 0, row 5, periods: none\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("host:\n  Text_Schedule_Time = \n"), std::string::npos);
}

// --scale 2 draws the same grid on twice the pixels, its texts at the doubled
// size rather than enlarged; --scale 1 is the picture without the option, byte
// for byte, and the script's pixels stay the grid's own.
TEST_F(RenderSchedule, ScaleDrawsTheGridSharpOnMorePixels) {
    cTimeSchedule schedule;
    schedule.SetDefaultPeriod();
    const std::string profile = WriteProfile(schedule);
    const std::string script = WriteScript("down 234 35\nmove 258 35\nup 258 35\n");
    const auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    ASSERT_EQ(Run({profile, "--out", Png(), "--events", script}).status, 0);
    const QImage plain = Image();
    const std::string plainBytes = bytes(Png());
    ASSERT_EQ(Run({profile, "--out", Png(), "--events", script, "--scale", "1"}).status, 0);
    EXPECT_EQ(bytes(Png()), plainBytes);

    const Result r = Run({profile, "--out", Png(), "--events", script, "--scale=2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("day type 1 (Tue): active -1, grouped -1, row 1, periods: 07:00-16:00 17:00-19:00"),
              std::string::npos)
        << r.out;
    const QImage sharp = Image();
    ASSERT_EQ(sharp.size(), plain.size() * 2);
    // The grid's lines and fills: every picture pixel is a block of 2 x 2 of its colour.
    int blocks = 0;
    int texts = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            bool same = true;
            for (const QPoint corner : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
                same = same && sharp.pixel(QPoint(2 * x, 2 * y) + corner) == plain.pixel(x, y);
            }
            (x >= 30 ? blocks : texts) += same ? 0 : 1;
        }
    }
    EXPECT_EQ(blocks, 0);
    // The weekday labels are drawn at 22 pixels, not as blocks of the 11-pixel ones.
    EXPECT_GT(texts, 20);

    for (const char* bad : {"0", "0.5", "9", "-2", "2x", "", "1e1", "nan", ".5", "2."}) {
        std::filesystem::remove(Png());
        const Result refused = Run({profile, "--out", Png(), "--scale", bad});
        EXPECT_EQ(refused.status, 2) << bad;
        EXPECT_NE(refused.err.find("--scale needs a number from 1 to 8"), std::string::npos) << refused.err;
        EXPECT_FALSE(std::filesystem::exists(Png())) << bad;
    }
    ASSERT_EQ(Run({profile, "--out", Png(), "--scale", "1.5"}).status, 0);
    EXPECT_EQ(Image().size(), QSize(486, 269));
}

TEST_F(RenderSchedule, ScriptEditsTheScheduleAndLeavesTheHostsState) {
    cTimeSchedule schedule;
    schedule.SetDefaultPeriod();
    const std::string script = R"(# draw Saturday 08:00 to 12:00, then join the group
down 126 135
move 127 135   # 5 minutes: under the draw threshold

move 174 135   # comments may follow a command
up 174 135
down 200 135 2
group
# Monday's period retimed; the group follows
down 150 10
up 150 10
times 6:00 "1800"
down 150 60 2
copy
)";
    const Result r = Run({WriteProfile(schedule), "--out", Png(), "--events", WriteScript(script)});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* line :
         {"  day type 0 (Mon): active -1, grouped -1, row 0, periods: 06:00-18:00\n",
          "  day type 4 (Fri): active -1, grouped -1, row 4, periods: 06:00-18:00\n",
          "  day type 5 (Sat): active -1, grouped -1, row 5, periods: 06:00-18:00\n",
          "  day type 6 (Sun): active -1, grouped 0, row 6, periods: none\n",
          "  Text_Schedule_Time = 10:00\n", "  Text_Schedule_Period_Start = 06:00\n",
          "  Text_Schedule_Period_Stop = 18:00\n", "  Menu_TimeSchedulePopup_Grouped_MonFri_Checked = 0\n",
          "  Menu_TimeSchedulePopup_Grouped_Checked = -1\n", "  Menu_TimeSchedulePopup_Paste_Enabled = 0\n",
          "  Menu_TimeSchedulePopup_Delete_Enabled = -1\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
    }
    const QImage image = Image();
    EXPECT_EQ(image.pixelColor(110, 129), Rgb(0, 240, 0)); // Saturday 06:40
    EXPECT_EQ(image.pixelColor(110, 4), Rgb(0, 176, 0));   // Monday's selected period
    EXPECT_EQ(image.pixelColor(102, 4), Rgb(0, 0, 0));     // its start edge at 06:00
}

TEST_F(RenderSchedule, CalendarRowsShowTheHostsImages) {
    cTimeSchedule schedule;
    schedule.SetActive(7, -1);
    schedule.SetActive(22, -1);
    const Result r = Run({WriteProfile(schedule), "--out", Png(), "--calendar"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage image = Image();
    ASSERT_EQ(image.size(), QSize(324, 9 * 25 + 4));
    EXPECT_NE(r.out.find("use calendar: -1"), std::string::npos);
    // Image 1 at x = 12..25 of row 7 (y = round(179 + 0.5) = 180), image 16 on row 8.
    const QColor first = image.pixelColor(18, 186);
    const QColor last = image.pixelColor(18, 211);
    EXPECT_NE(first, Rgb(255, 255, 255));
    EXPECT_NE(last, Rgb(255, 255, 255));
    EXPECT_NE(first, last);
    EXPECT_EQ(image.pixelColor(11, 186), Rgb(255, 255, 255));
    EXPECT_EQ(image.pixelColor(26, 186), Rgb(255, 255, 255));
}

TEST_F(RenderSchedule, MalformedScriptLinesStopWithTheirLineNumber) {
    cTimeSchedule schedule;
    const std::string profile = WriteProfile(schedule);
    struct Case {
        const char* script;
        const char* where;
    };
    const auto cases = std::to_array<Case>({
        {"jump 1 2\n", ":1: unknown command"},
        {"# fine\n\ndown 1\n", ":3: down takes"},
        {"down x 5\n", ":1: X and Y"},
        {"down 40 5 left\n", ":1: BUTTON"},
        {"move 1 2 3\n", ":1: move takes"},
        {"times 7:00\n", ":1: times takes"},
        {"delete now\n", ":1: delete takes no arguments"},
        {"paint\ntimes \"7:00 16:00\n", ":2: a text in double quotes"},
        {"up 1e9 5\n", ":1: X and Y"},
    });
    for (const auto& c : cases) {
        std::filesystem::remove(Png());
        const Result r = Run({profile, "--out", Png(), "--events", WriteScript(c.script)});
        EXPECT_EQ(r.status, 2) << c.script;
        EXPECT_NE(r.err.find(c.where), std::string::npos) << c.script << " -> " << r.err;
        EXPECT_FALSE(std::filesystem::exists(Png())) << c.script;
        EXPECT_TRUE(r.out.empty()) << c.script;
    }
}

TEST_F(RenderSchedule, ArgumentsAndUnreadableFiles) {
    cTimeSchedule schedule;
    const std::string profile = WriteProfile(schedule);
    EXPECT_EQ(Run({profile}).status, 2);
    EXPECT_EQ(Run({"--out", Png()}).status, 2);
    EXPECT_EQ(Run({profile, "--out", Png(), "--bogus"}).status, 2);
    EXPECT_EQ(Run({profile, "--out", Png(), "--events", m_Dir.File("missing.txt")}).status, 1);
    EXPECT_EQ(Run({m_Dir.File("missing.dat"), "--out", Png()}).status, 1);
    EXPECT_EQ(Run({WriteProfile(schedule, 3), "--out", Png()}).status, 1);
    EXPECT_EQ(Run({profile, "--out", m_Dir.File("no/such/folder/x.png")}).status, 1);
    const Result help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("group-mon-fri"), std::string::npos);
}

} // namespace
} // namespace velmar::tool
