// velmar-profiles show: the listing of one profile file, and a clean one-line
// error with exit status 1 for every file the program cannot load.

#include "common/Paths.h"
#include "platform/SystemError.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPlatform.h"
#include "tests/tools/ToolRun.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace velmar::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

ToolRun Show(const tool::Arguments& args) {
    return RunTool("show", args);
}

// A schedule record whose day types all stand empty and in use as a new
// schedule's, with the given blocks replaced: {day type, active, grouped,
// periods, row}.
struct Block {
    int DayType;
    std::int16_t Active, Grouped;
    std::vector<std::pair<std::int16_t, std::int16_t>> Periods;
    std::int16_t Row;
};

Bytes Schedule(const std::vector<Block>& blocks, std::int16_t useCalendar) {
    ByteWriter w;
    for (int dayType = 0; dayType < 23; ++dayType) {
        Block block{dayType, static_cast<std::int16_t>(dayType < 7 ? -1 : 0), 0, {}, 0};
        for (const auto& b : blocks) {
            if (b.DayType == dayType) {
                block = b;
            }
        }
        w.Int16(block.Active).Int16(block.Grouped).Int16(static_cast<std::int16_t>(block.Periods.size()));
        for (const auto& [start, stop] : block.Periods) {
            w.Int16(start).Int16(stop);
        }
        w.Int16(block.Row);
    }
    w.Int16(useCalendar);
    return w.Data();
}

// Version 4, a record with a distinct value in every field, then `schedule`.
Bytes ProfileFile(const Bytes& schedule) {
    ByteWriter w;
    w.Int16(4).Int16(0x0102).Int16(1).Text("\xC5sa \"hem\"\r\n\x81");
    for (std::uint8_t i = 0; i < 12; ++i) {
        w.Raw({static_cast<std::uint8_t>(0xF0 + i)});
    }
    w.Text("Text ett").Text("");
    w.Text("l0").Text("l1").Text("l2").Text("l3").Text("l4").Text("\x80 5");
    w.Raw({0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5})
        .Text("t3")
        .Raw({0xDE, 0xAD, 0xBE, 0xEF})
        .Text("t4")
        .Text("\xD6land");
    for (int i = 0; i < 130; ++i) {
        w.Raw({static_cast<std::uint8_t>(i)});
    }
    w.Raw(schedule);
    return w.Data();
}

class ShowCommandTest : public ::testing::Test {
protected:
    std::string WriteFile(const std::string& name, const Bytes& bytes) const {
        WriteFileBytes(m_Dir.Path() / name, bytes);
        return m_Dir.File(name);
    }
    TempDir m_Dir;
};

TEST_F(ShowCommandTest, PrintsEveryFieldOfTheRecordInFileOrder) {
    const Bytes schedule = Schedule({}, 0);
    Bytes bytes = ProfileFile(schedule);
    bytes.insert(bytes.end(), {1, 2, 3}); // never read
    const std::string path = WriteFile("Profile_0001.dat", bytes);
    const ToolRun run = Show({path});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_THAT(run.Err, IsEmpty());

    const std::string expected =
        "file: " + path + "\nsize: " + std::to_string(bytes.size()) +
        " bytes\n"
        "format version: 4\n"
        "name: \"\u00c5sa \\\"hem\\\"\\r\\n\\u0081\"\n"
        "active: 1 (active)\n"
        "profile record: 222 bytes at offset 2\n"
        "  Int0:         258\n"
        "  Active:       1\n"
        "  Name:         \"\u00c5sa \\\"hem\\\"\\r\\n\\u0081\"\n"
        "  Bytes1:       F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB\n"
        "  Text1:        \"Text ett\"\n"
        "  Text2:        \"\"\n"
        "  TextList(0):  \"l0\"\n"
        "  TextList(1):  \"l1\"\n"
        "  TextList(2):  \"l2\"\n"
        "  TextList(3):  \"l3\"\n"
        "  TextList(4):  \"l4\"\n"
        "  TextList(5):  \"\u20ac 5\"\n"
        "  Bytes2:       A0 A1 A2 A3 A4 A5\n"
        "  Text3:        \"t3\"\n"
        "  Bytes3:       DE AD BE EF\n"
        "  Text4:        \"t4\"\n"
        "  Text5:        \"\u00d6land\"\n"
        "  Bytes4:       00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 "
        "16 17 18 19 1A 1B 1C 1D 1E 1F\n"
        "                20 21 22 23 24 25 26 27 28 29 2A 2B 2C 2D 2E 2F 30 31 32 33 34 35 "
        "36 37 38 39 3A 3B 3C 3D 3E 3F\n"
        "                40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 51 52 53 54 55 "
        "56 57 58 59 5A 5B 5C 5D 5E 5F\n"
        "                60 61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F 70 71 72 73 74 75 "
        "76 77 78 79 7A 7B 7C 7D 7E 7F\n"
        "                80 81\n"
        "schedule record: 186 bytes at offset 224\n"
        "bytes behind the schedule: 3 (not read)\n"
        "schedule:\n";
    ASSERT_GE(run.Out.size(), expected.size());
    EXPECT_EQ(run.Out.substr(0, expected.size()), expected);
}

TEST_F(ShowCommandTest, PrintsTheScheduleDayTypeByDayType) {
    const Bytes schedule = Schedule({{0, -1, -1, {{420, 960}, {480, 540}}, 0},
                                     {4, 5, 0, {{0, 1440}}, 4},
                                     {6, 0, 0, {}, 6},
                                     {7, -1, 0, {{-5, 3000}, {1440, 1441}, {-32768, 32767}}, 7},
                                     {22, -1, -1, {{600, 300}}, 8}},
                                    -1);
    const ToolRun run = Show({WriteFile("Profile_0002.dat", ProfileFile(schedule))});
    ASSERT_EQ(run.Status, 0) << run.Err;

    const std::string out = run.Out.substr(run.Out.find("schedule:\n"));
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 25u) << out;
    EXPECT_EQ(lines[1], "  use calendar: -1");
    struct Case {
        int dayType;
        const char* line;
    };
    for (const Case c : {
             Case{0, "  day type 0 (Mon): active -1, grouped -1, row 0, periods: 07:00-16:00 08:00-09:00"},
             Case{1, "  day type 1 (Tue): active -1, grouped 0, row 0, periods: none"},
             Case{4, "  day type 4 (Fri): active 5, grouped 0, row 4, periods: 00:00-24:00"},
             Case{5, "  day type 5 (Sat): active -1, grouped 0, row 0, periods: none"},
             Case{6, "  day type 6 (Sun): active 0, grouped 0, row 6, periods: none"},
             Case{7, "  day type 7 (special 1): active -1, grouped 0, row 7, periods: -5-3000 24:00-1441 "
                     "-32768-32767"},
             Case{8, "  day type 8 (special 2): active 0, grouped 0, row 0, periods: none"},
             Case{22, "  day type 22 (special 16): active -1, grouped -1, row 8, periods: 10:00-05:00"},
         }) {
        EXPECT_EQ(lines[static_cast<std::size_t>(c.dayType + 2)], c.line);
    }
}

TEST_F(ShowCommandTest, FilesTheProgramCannotLoadGiveOneLineAndStatus1) {
    std::filesystem::create_directory(m_Dir.Path() / "Profile_0009.dat");
    Bytes version3 = ProfileFile(Schedule({}, 0));
    version3[0] = 3;
    Bytes version5 = version3;
    version5[0] = 5;
    struct Case {
        const char* what;
        tool::Arguments args;
        const char* mentions;
    };
    const std::vector<Case> cases = {
        {"missing file", {m_Dir.File("Profile_0404.dat")}, "Profile_0404.dat"},
        {"folder", {m_Dir.File("Profile_0009.dat")}, "Profile_0009.dat"},
        {"empty file", {WriteFile("empty.dat", {})}, "0 bytes"},
        {"one byte", {WriteFile("one.dat", {0x04})}, "1 bytes"},
        {"version 3", {WriteFile("v3.dat", version3)}, "format version 3"},
        {"version 5", {WriteFile("v5.dat", version5)}, "format version 5"},
        {"version -1", {WriteFile("vm1.dat", {0xFF, 0xFF})}, "format version -1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ToolRun run = Show(c.args);
        EXPECT_EQ(run.Status, 1);
        EXPECT_THAT(run.Out, IsEmpty());
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
        EXPECT_EQ(run.Err.back(), '\n');
        EXPECT_THAT(run.Err, HasSubstr(c.mentions));
    }
}

TEST_F(ShowCommandTest, UsageErrorsGiveOneLineAndStatus2) {
    struct Case {
        const char* what;
        tool::Arguments args;
        const char* line;
    };
    const std::vector<Case> cases = {
        {"no file named",
         {},
         "velmar-profiles: show: no profile file given (see velmar-profiles show --help)\n"},
        {"two files",
         {"a.dat", "b.dat"},
         "velmar-profiles: show: more than one profile file given (see velmar-profiles show --help)\n"},
        {"unknown option",
         {"--frob", "a.dat"},
         "velmar-profiles: show: unknown option \"--frob\" (see velmar-profiles show --help)\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Show(c.args);
        EXPECT_EQ(run.Status, 2) << c.what;
        EXPECT_EQ(run.Err, c.line) << c.what;
        EXPECT_THAT(run.Out, IsEmpty()) << c.what;
    }
}

TEST_F(ShowCommandTest, ShortVersion4FilesAreShownAsTheProgramLoadsThem) {
    const Bytes full = ProfileFile(Schedule({{0, -1, 0, {{420, 960}}, 0}}, 0));
    struct Case {
        std::size_t length;
        const char* note;
    };
    for (const Case c :
         {Case{2, "profile record: incomplete"}, Case{100, "profile record: incomplete"},
          Case{230, "schedule record: incomplete"}, Case{full.size() - 1, "schedule record: incomplete"}}) {
        SCOPED_TRACE(c.length);
        const ToolRun run = Show({WriteFile(
            "short.dat", Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(c.length)))});
        EXPECT_EQ(run.Status, 0);
        EXPECT_THAT(run.Err, IsEmpty());
        EXPECT_THAT(run.Out, HasSubstr(c.note));
        EXPECT_THAT(run.Out, HasSubstr("day type 22 (special 16)"));
        EXPECT_THAT(run.Out, Not(HasSubstr("bytes behind the schedule")));
    }
}

// The system's own words for a file or folder that is not there.
std::string NotFoundReason(bool folderMissing) {
    return test::NotFoundWords(folderMissing);
}

TEST_F(ShowCommandTest, AFileThatCannotBeOpenedIsExplainedInTheSystemsWords) {
    const std::string folder = "L\xC3\xA4rm \xC3\x85sa";
    std::filesystem::create_directory(PathFromUtf8(m_Dir.File(folder)));
    struct Case {
        std::string Path;
        bool FolderMissing;
    };
    const auto cases = std::to_array<Case>({
        {m_Dir.File(folder + "/Profile_0404.dat"), false},
        {m_Dir.File("Saknas/Profile_0404.dat"), true},
    });
    for (const auto& c : cases) {
        const ToolRun run = Show({c.Path});
        EXPECT_EQ(run.Status, 1);
        EXPECT_THAT(run.Err, HasSubstr(c.Path));
        EXPECT_THAT(run.Err, HasSubstr(NotFoundReason(c.FolderMissing)));
    }
}

// 3 GiB: beyond what a 32-bit file offset holds. The files are sparse, so
// they take no room on disk.
TEST_F(ShowCommandTest, AFileOfThreeGiBIsShownWithItsRealSize) {
    constexpr std::uint64_t kSize = 3ULL << 30;
    const Bytes profile = ProfileFile(Schedule({}, 0));
    struct Case {
        const char* Name;
        Bytes Head;
        int Status;
        std::string Says;
    };
    const auto cases = std::to_array<Case>({
        {"profile.dat", profile, 0,
         "bytes behind the schedule: " + std::to_string(kSize - profile.size()) + " (not read)"},
        {"zeros.dat", {}, 1, "format version 0"},
    });
    for (const auto& c : cases) {
        const std::string path = WriteFile(c.Name, c.Head);
        std::filesystem::resize_file(PathFromUtf8(path), kSize);
        const ToolRun run = Show({path});
        EXPECT_EQ(run.Status, c.Status) << c.Name << ": " << run.Err;
        EXPECT_THAT(run.Out + run.Err, HasSubstr(c.Says)) << c.Name;
        if (c.Status == 0) {
            EXPECT_THAT(run.Out, HasSubstr("size: " + std::to_string(kSize) + " bytes"));
        }
    }
}

TEST_F(ShowCommandTest, HelpExplainsTheCommand) {
    for (const char* flag : {"--help", "-h"}) {
        const ToolRun run = Show({flag});
        EXPECT_EQ(run.Status, 0);
        EXPECT_THAT(run.Out, HasSubstr("Usage: velmar-profiles show FILE"));
        EXPECT_THAT(run.Out, HasSubstr("exit status 1"));
    }
}

TEST_F(ShowCommandTest, EveryMalformedAndExampleFileIsShownOrRefusedCleanly) {
    int shown = 0;
    for (const char* folder : {VELMAR_MALFORMED_PROFILES_DIR, VELMAR_EXAMPLE_PROFILES_DIR}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() != ".dat") {
                continue;
            }
            const std::string name = entry.path().filename().string();
            SCOPED_TRACE(name);
            const ToolRun run = Show({entry.path().string()});
            const bool loadable = name.rfind("skip-", 0) != 0;
            EXPECT_EQ(run.Status, loadable ? 0 : 1) << run.Err;
            if (loadable) {
                EXPECT_THAT(run.Out, HasSubstr("day type 22 (special 16)"));
                // Escaping keeps every control character out of the listing.
                EXPECT_TRUE(std::none_of(run.Out.begin(), run.Out.end(), [](char c) {
                    return (static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F;
                }));
                ++shown;
            } else {
                EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1);
            }
        }
    }
    EXPECT_GT(shown, 30);
}

} // namespace
} // namespace velmar::test
