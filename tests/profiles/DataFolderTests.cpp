#include "common/Errors.h"
#include "profiles/DataFolder.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPlatform.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmar {
namespace {

// "Project" beside the program is there (a portable copy, the build tree).
const FolderPredicate kProjectFolderExists = [](const std::string&) { return true; };

struct DataPathCase {
    const char* Title;
    PathStyle Style;
    const char* ExecutableFolder;
    std::vector<std::string> Arguments;
    const char* Expected;
};

TEST(ResolveDataPath, FollowsTheSwitchOrTheProgramFolder) {
    const std::vector<DataPathCase> cases = {
        // Windows: the value ends at the next "/" of the whole command line.
        {"default", PathStyle::Windows, "C:\\Alarm", {}, R"(C:\Alarm\Project\)"},
        {"default in a root folder", PathStyle::Windows, "C:\\", {}, "C:\\Project\\"},
        {"value without backslash", PathStyle::Windows, "C:\\Alarm", {"/PATH:D:\\Data"}, "D:\\Data\\"},
        {"value with backslash", PathStyle::Windows, "C:\\Alarm", {"/PATH:D:\\Data\\"}, "D:\\Data\\"},
        {"lower case, spaces, another switch",
         PathStyle::Windows,
         "C:\\Alarm",
         {"/path:", "", "D:\\Data", "", "/X"},
         "D:\\Data\\"},
        {"a slash ends the value", PathStyle::Windows, "C:\\Alarm", {"/PATH:D:\\A/B"}, "D:\\A\\"},
        {"empty value at the end", PathStyle::Windows, "C:\\Alarm", {"/PATH:"}, "\\"},
        {"empty value before a slash", PathStyle::Windows, "C:\\Alarm", {"/PATH:/X"}, "\\"},
        {"only the first switch counts",
         PathStyle::Windows,
         "C:\\Alarm",
         {"/PATH:D:\\One", "/PATH:D:\\Two"},
         "D:\\One\\"},
        // Windows: quotation marks are removed from the value (no Windows path
        // holds one); on Windows the command line arrives as one text.
        {"quoted value", PathStyle::Windows, "C:\\Alarm", {R"(/PATH:"D:\My Data")"}, R"(D:\My Data\)"},
        {"quoted value with backslash",
         PathStyle::Windows,
         "C:\\Alarm",
         {R"(/PATH:"C:\My Data\")"},
         R"(C:\My Data\)"},
        {"quoted value, spaces and another switch",
         PathStyle::Windows,
         "C:\\Alarm",
         {R"(list /path: "C:\Lärm Åsa\Project"  /X)"},
         R"(C:\Lärm Åsa\Project\)"},
        {"spaces inside quotes are trimmed",
         PathStyle::Windows,
         "C:\\Alarm",
         {R"(/PATH:" D:\Data ")"},
         "D:\\Data\\"},
        {"quotes alone give the root", PathStyle::Windows, "C:\\Alarm", {R"(/PATH:"")"}, "\\"},
        {"quotes inside the value",
         PathStyle::Windows,
         "C:\\Alarm",
         {R"(/PATH:D:\"My" Data)"},
         R"(D:\My Data\)"},
        {"other arguments are ignored",
         PathStyle::Windows,
         "C:\\Alarm",
         {"-x", "foo"},
         R"(C:\Alarm\Project\)"},
        // POSIX: "/" joins folders; the value runs to the end of its argument.
        {"posix default", PathStyle::Posix, "/opt/velmar", {}, "/opt/velmar/Project/"},
        {"posix default in the root", PathStyle::Posix, "/", {}, "/Project/"},
        {"posix absolute value",
         PathStyle::Posix,
         "/opt/velmar",
         {"/PATH:/srv/alarm/Project"},
         "/srv/alarm/Project/"},
        {"posix value with slash", PathStyle::Posix, "/opt/velmar", {"/path:/srv/alarm/"}, "/srv/alarm/"},
        {"posix value with spaces inside",
         PathStyle::Posix,
         "/opt/velmar",
         {"/PATH: /srv/my data  "},
         "/srv/my data/"},
        {"posix value ends with its argument",
         PathStyle::Posix,
         "/opt/velmar",
         {"/PATH:/a/b", "/c/d"},
         "/a/b/"},
        {"posix switch alone takes the next argument",
         PathStyle::Posix,
         "/opt/velmar",
         {"/PATH:", "/srv/alarm/Project"},
         "/srv/alarm/Project/"},
        {"posix next argument trimmed",
         PathStyle::Posix,
         "/opt/velmar",
         {"/path:", " /srv/a ", "/b"},
         "/srv/a/"},
        {"posix switch alone inside an argument",
         PathStyle::Posix,
         "/opt/velmar",
         {"--x=/PATH:", "/srv"},
         "/srv/"},
        {"posix switch alone at the end", PathStyle::Posix, "/opt/velmar", {"x", "/PATH:"}, "/"},
        {"posix empty next argument", PathStyle::Posix, "/opt/velmar", {"/PATH:", "", "/srv"}, "/"},
        {"posix value not taken from the next argument",
         PathStyle::Posix,
         "/opt/velmar",
         {"/PATH:/a", "/b"},
         "/a/"},
        {"windows switch alone", PathStyle::Windows, "C:\\Alarm", {"/PATH:", "D:\\Data"}, "D:\\Data\\"},
        {"posix relative value", PathStyle::Posix, "/opt/velmar", {"x", "/Path:data"}, "data/"},
        {"posix switch inside an argument", PathStyle::Posix, "/opt/velmar", {"--x=/PATH:/srv/a"}, "/srv/a/"},
        {"posix first switch counts", PathStyle::Posix, "/opt/velmar", {"/PATH:/one", "/PATH:/two"}, "/one/"},
        {"posix non-ASCII", PathStyle::Posix, "/opt/velmar", {"/PATH:/srv/Åsa larm"}, "/srv/Åsa larm/"},
        {"posix quotes stay", PathStyle::Posix, "/opt/velmar", {R"(/PATH:/srv/"x")"}, R"(/srv/"x"/)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolveDataPath(c.ExecutableFolder, c.Arguments, c.Style, kProjectFolderExists), c.Expected)
            << c.Title;
    }
}

// The build-time fallback with its separator, as ResolveDataPath returns folders.
std::string Fallback() {
    std::string folder = kDefaultDataPath;
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

TEST(ResolveDataPath, WithoutProjectBesideTheProgramTheBuildTimeFolderIsTheDefault) {
    if (test::kPosixSystem) {
        ASSERT_STRNE(kDefaultDataPath, "") << "an installed program needs a fixed default data folder";
    }
    if (std::string_view(kDefaultDataPath).empty()) {
        GTEST_SKIP() << "built without a fixed default data folder";
    }
    struct Case {
        const char* Title;
        bool ProjectExists;
        std::vector<std::string> Arguments;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {"portable copy", true, {}, "/usr/bin/Project/"},
        {"installed", false, {}, Fallback()},
        {"installed, other arguments ignored", false, {"-x"}, Fallback()},
        {"the switch wins over the portable copy", true, {"/PATH:/srv/alarm"}, "/srv/alarm/"},
        {"the switch wins over the fallback", false, {"/PATH:/srv/alarm"}, "/srv/alarm/"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> asked;
        const FolderPredicate exists = [&](const std::string& folder) {
            asked.push_back(folder);
            return c.ProjectExists;
        };
        EXPECT_EQ(ResolveDataPath("/usr/bin", c.Arguments, PathStyle::Posix, exists), c.Expected) << c.Title;
        if (c.Arguments.empty() || c.Arguments[0].rfind("/PATH:", 0) != 0) {
            EXPECT_EQ(asked, std::vector<std::string>{"/usr/bin/Project/"}) << c.Title;
        }
    }
}

TEST(ResolveDataPath, AsksTheFileSystemWhetherProjectIsAFolder) {
    if (std::string_view(kDefaultDataPath).empty()) {
        GTEST_SKIP() << "built without a fixed default data folder";
    }
    const test::TempDir program;
    const std::string folder = program.Path().string();
    EXPECT_EQ(ResolveDataPath(folder, {}, PathStyle::Posix), Fallback()) << "no Project";
    std::ofstream(program.Path() / "Project") << "a file, not a folder";
    EXPECT_EQ(ResolveDataPath(folder, {}, PathStyle::Posix), Fallback()) << "Project is a file";
    std::filesystem::remove(program.Path() / "Project");
    std::filesystem::create_directory(program.Path() / "Project");
    EXPECT_EQ(ResolveDataPath(folder, {}, PathStyle::Posix), folder + "/Project/");
}

TEST(ResolveDataPath, SwitchBeyondSixteenBitPositionsOverflows) {
    // The switch at character 32761 still leaves its value's position (32767)
    // in range; one character later it does not.
    const std::string padding(32759, 'x'); // plus the joining space: switch at 32761
    EXPECT_EQ(ResolveDataPath("/opt", {padding, "/PATH:/a"}, PathStyle::Posix), "/a/");
    EXPECT_THROW(ResolveDataPath("/opt", {padding + "y", "/PATH:/a"}, PathStyle::Posix), OverflowError);
    // Characters, not bytes: two-byte characters count once.
    EXPECT_NO_THROW(
        ResolveDataPath("/opt", {std::string(16000, 'a') + "\xC3\xA5", "/PATH:/a"}, PathStyle::Posix));
}

TEST(JoinArguments, JoinsWithSingleSpaces) {
    EXPECT_EQ(JoinArguments({}), "");
    EXPECT_EQ(JoinArguments({"a"}), "a");
    EXPECT_EQ(JoinArguments({"a", "", "b c"}), "a  b c");
}

} // namespace
} // namespace velmar
