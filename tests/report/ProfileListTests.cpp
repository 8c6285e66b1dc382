// What the console front end and velmar-profiles list print for a data
// folder: the console block or one JSON object, and its exit status.

#include "common/ConsoleText.h"
#include "common/Paths.h"
#include "platform/LocalTime.h"
#include "report/ProfileList.h"
#include "tests/support/ProfileFileWriter.h"
#include "tests/support/TestFiles.h"

#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace velmar {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(ConsoleBlock, OneLinePerRowThenTheTooltip) {
    const std::vector<ListedProfile> rows = {
        {"Kontor", false, ""}, {"Natt\nlarm", true, ""}, {"C:\\x", false, ""}};
    EXPECT_EQ(FormatConsoleBlock("07:05:09", rows, {}, "Aktiva profiler:\n\xC2\xB7 Natt\nlarm"),
              "== 07:05:09 3 profiles\n"
              "- Kontor\n"
              "+ Natt\\nlarm\n"
              "- C:\\\\x\n"
              "tooltip: Aktiva profiler:\\n\xC2\xB7 Natt\\nlarm\n");
    EXPECT_EQ(FormatConsoleBlock("00:00:00", {}, {}, "Aktiva profiler:"),
              "== 00:00:00 0 profiles\ntooltip: Aktiva profiler:\n");
}

TEST(ConsoleBlock, ProblemsComeAfterTheRowsAndBeforeTheTooltip) {
    EXPECT_EQ(
        FormatConsoleBlock("07:05:09", {{"Kontor", true, ""}},
                           {"Profile_0002.dat: permission denied", "Profile_\x1B[2J.dat: is a directory"},
                           "Aktiva profiler:\n\xC2\xB7 Kontor\nProfile_0002.dat: permission denied"),
        "== 07:05:09 1 profiles\n"
        "+ Kontor\n"
        "! Profile_0002.dat: permission denied\n"
        "! Profile_\\x1B[2J.dat: is a directory\n"
        "tooltip: Aktiva profiler:\\n\xC2\xB7 Kontor\\nProfile_0002.dat: permission denied\n");
}

TEST(ConsoleBlock, AProblemLineWritesThePlatformsPathsAsTheyAre) {
    // Where "\\" separates folders (Windows), a problem's path is printed as a
    // user can copy it; elsewhere a backslash is doubled as in every other
    // text. Control characters are escaped everywhere, and so is the tooltip.
    const std::string kept = kPathSeparator == '\\' ? "\\" : "\\\\";
    EXPECT_EQ(FormatConsoleBlock("07:05:09", {{"C:\\x", true, ""}},
                                 {"Profiles folder not found: C:\\Alarm\\Profiles\\", "a\\b\r\n\x1B[2J"},
                                 "Aktiva profiler:\nC:\\Alarm"),
              "== 07:05:09 1 profiles\n"
              "+ C:\\\\x\n"
              "! Profiles folder not found: C:" +
                  kept + "Alarm" + kept + "Profiles" + kept +
                  "\n"
                  "! a" +
                  kept +
                  "b\\r\\n\\x1B[2J\n"
                  "tooltip: Aktiva profiler:\\nC:\\\\Alarm\n");
}

TEST(ConsoleBlock, ClockTextIsHoursMinutesSeconds) {
    EXPECT_TRUE(std::regex_match(LocalClockText(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]")));
    EXPECT_TRUE(std::regex_match(
        LocalTimestampText(), std::regex(R"(20[0-9]{2}-[01][0-9]-[0-3][0-9]T[0-2][0-9]:[0-5][0-9]:[0-6][0-9])"
                                         R"([+-][01][0-9]:[0-5][0-9])")))
        << LocalTimestampText();
}

TEST(ListJson, OneObjectWithTimeFolderProfilesTooltipAndProblems) {
    const std::vector<ListedProfile> profiles = {{"\xC3\x85sa \"natt\"\x1B", true, "Profile_0001.dat"},
                                                 {"b", false, "PROFILE_0002.DAT"}};
    const std::vector<LoadProblem> problems = {
        {LoadProblemKind::FileUnreadable, "Profile_0003.dat", "permission denied"},
        {LoadProblemKind::WrongVersion, "Profile_0004.dat", "3"},
        {LoadProblemKind::FileVanished, "Profile_0005.dat", ""}};
    EXPECT_EQ(FormatProfilesJson("2025-06-01T14:05:09+02:00", "C:\\Alarm\\Project\\", profiles,
                                 "Aktiva profiler:\n\xC2\xB7 \xC3\x85sa", problems),
              R"({
  "time": "2025-06-01T14:05:09+02:00",
  "dataFolder": "C:\\Alarm\\Project\\",
  "profiles": [
    {"name": "Åsa \"natt\"\u001b", "active": true, "file": "Profile_0001.dat"},
    {"name": "b", "active": false, "file": "PROFILE_0002.DAT"}
  ],
  "tooltip": "Aktiva profiler:\n· Åsa",
  "problems": [
    {"kind": "fileUnreadable", "file": "Profile_0003.dat", "text": "Profile_0003.dat: permission denied"},
    {"kind": "wrongVersion", "file": "Profile_0004.dat", "text": "Profile_0004.dat: format version 3, not 4"},
    {"kind": "fileVanished", "file": "Profile_0005.dat", "text": "Profile_0005.dat: gone before it could be read"}
  ]
}
)");
    EXPECT_EQ(FormatProfilesJson("t", "/d/", {}, "Aktiva profiler:", {}), R"({
  "time": "t",
  "dataFolder": "/d/",
  "profiles": [],
  "tooltip": "Aktiva profiler:",
  "problems": []
}
)");
}

TEST(ListOutput, FailsOnlyWhenTheProfilesFolderCannotBeListed) {
    struct Case {
        const char* Title;
        std::function<void(const fs::path& profiles)> Arrange;
        int Status;
        const char* Problem;
    };
    const std::vector<Case> cases = {
        {"all well", [](const fs::path&) {}, 0, nullptr},
        {"a file that does not load",
         [](const fs::path& p) {
             test::WriteFileBytes(p / "Profile_0002.dat", {3, 0});
         },
         0, "Profile_0002.dat: format version 3, not 4"},
        {"no Profiles folder", [](const fs::path& p) { fs::remove_all(p); }, 1,
         "Profiles folder not found: "},
        {"Profiles is a file",
         [](const fs::path& p) {
             fs::remove_all(p);
             test::WriteFileBytes(p, {});
         },
         1, "Profiles folder is not a folder: "},
    };
    for (const auto& c : cases) {
        test::TempDir data;
        const fs::path profiles = data.Path() / "Profiles";
        fs::create_directory(profiles);
        test::WriteProfileFile(profiles / "Profile_0001.dat", "Kontor", true);
        c.Arrange(profiles);
        const DataFolder folder = DataFolder::FromCommandLine("/opt/velmar", {"/PATH:" + data.File("")});

        std::ostringstream block;
        EXPECT_EQ(PrintProfilesOnce(folder, block), c.Status) << c.Title;
        std::ostringstream json;
        EXPECT_EQ(PrintProfilesJson(folder, json), c.Status) << c.Title;
        EXPECT_THAT(json.str(), HasSubstr("\"dataFolder\": " + JsonString(folder.DataPath()))) << c.Title;
        EXPECT_THAT(folder.DataPath(), ::testing::StartsWith(data.File("")));
        if (c.Problem == nullptr) {
            EXPECT_THAT(block.str(), Not(HasSubstr("\n! "))) << c.Title;
            EXPECT_THAT(json.str(), HasSubstr("\"problems\": []")) << c.Title;
            EXPECT_THAT(json.str(),
                        HasSubstr(R"({"name": "Kontor", "active": true, "file": "Profile_0001.dat"})"));
        } else {
            EXPECT_THAT(block.str(), HasSubstr("\n! " + std::string(c.Problem))) << c.Title;
            EXPECT_THAT(json.str(), HasSubstr("\"text\": \"" + std::string(c.Problem))) << c.Title;
        }
        EXPECT_THAT(json.str(), Not(HasSubstr("== "))) << "no console block in the JSON";
    }
}

} // namespace
} // namespace velmar
