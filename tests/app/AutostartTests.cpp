#include "app/Autostart.h"
#include "common/Errors.h"
#include "profiles/DataFolder.h"
#include "tests/support/TestFiles.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace velmar {
namespace {

namespace fs = std::filesystem;

EnvironmentLookup FakeEnvironment(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const char* name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        if (found == variables.end()) {
            return std::nullopt;
        }
        return found->second;
    };
}

#ifndef _WIN32
std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
#endif

// The Exec line of an entry.
std::string ExecLine(const std::string& entry) {
    const auto start = entry.find("\nExec=");
    if (start == std::string::npos) {
        return {};
    }
    const auto end = entry.find('\n', start + 1);
    return entry.substr(start + 6, end - start - 6);
}

TEST(ExecWord, QuotesReservedCharactersAndEscapesTheStringValue) {
    // Each expected text is what the file holds: a desktop first undoes the
    // string escapes (\\ \t \n \r), then the quoting (\" \` \$ \\), then "%%".
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/usr/bin/velmar-active-profiles", "/usr/bin/velmar-active-profiles"},
        {"/PATH:/srv/alarm/", "/PATH:/srv/alarm/"},
        {"/PATH:/srv/a=b,c+d@e/", "/PATH:/srv/a=b,c+d@e/"},
        {"/PATH:/srv/Åsa larm/", "\"/PATH:/srv/Åsa larm/\""},
        {"", "\"\""},
        {"a\"b", R"("a\\"b")"},
        {"a`b", R"("a\\`b")"},
        {"$HOME", R"("\\$HOME")"},
        {R"(a\b)", R"("a\\\\b")"},
        {"it's", "\"it's\""},
        {"~/alarm", "\"~/alarm\""},
        {"a>b", "\"a>b\""},
        {"a<b", "\"a<b\""},
        {"a|b", "\"a|b\""},
        {"a&b", "\"a&b\""},
        {"a;b", "\"a;b\""},
        {"a*b", "\"a*b\""},
        {"a?b", "\"a?b\""},
        {"#1", "\"#1\""},
        {"(x)", "\"(x)\""},
        {"100%", "100%%"},
        {"50% off", "\"50%% off\""},
        {"%f", "%%f"},
        {"a\tb", R"("a\tb")"},
        {"a\nb", R"("a\nb")"},
        {"a\rb", R"("a\rb")"},
    };
    for (const auto& [word, expected] : cases) {
        EXPECT_EQ(ExecWord(word), expected) << word;
    }
}

TEST(ExecWord, RefusesWhatAnEntryCannotCarry) {
    using namespace std::string_literals;
    for (const std::string& word : {"a\x01z"s, "a\0z"s, "a\x7Fz"s, "caf\xE9"s, "\xC3"s}) {
        EXPECT_THROW(ExecWord(word), InvalidArgumentError) << word;
    }
}

#ifndef _WIN32
// The autostart entry and its folder belong to X11 and Wayland desktops;
// Windows starts programs from the Startup folder (the Windows case below).
TEST(AutostartFolder, FollowsTheBaseDirectoryRules) {
    struct Case {
        const char* Title;
        std::map<std::string, std::string> Variables;
        const char* Expected;
    };
    const std::vector<Case> cases = {
        {"config home", {{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}}, "/cfg/autostart"},
        {"config home with slash", {{"XDG_CONFIG_HOME", "/cfg/"}, {"HOME", "/home/u"}}, "/cfg/autostart"},
        {"no config home", {{"HOME", "/home/u"}}, "/home/u/.config/autostart"},
        {"empty config home", {{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.config/autostart"},
        {"relative config home",
         {{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/u"}},
         "/home/u/.config/autostart"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AutostartFolder(FakeEnvironment(c.Variables)), fs::path(c.Expected)) << c.Title;
    }
    for (const auto& variables :
         std::vector<std::map<std::string, std::string>>{{}, {{"HOME", ""}}, {{"HOME", "u"}}}) {
        EXPECT_THROW(AutostartFolder(FakeEnvironment(variables)), FileError);
    }
}
#endif

TEST(AutostartEntry, StartsTheProgramOnItsFolder) {
    const std::string entry = AutostartEntry("/opt/velmar tools/velmar-active-profiles", "/srv/my data/");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0U);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry.find("\nName=Velmar Active Profiles\n"), std::string::npos);
    EXPECT_NE(entry.find("\nIcon=velmar-active-profiles\n"), std::string::npos);
    EXPECT_EQ(ExecLine(entry), R"("/opt/velmar tools/velmar-active-profiles" "/PATH:/srv/my data/")");
    EXPECT_EQ(ExecLine(AutostartEntry("/usr/bin/velmar-active-profiles", std::nullopt)),
              "/usr/bin/velmar-active-profiles");
    EXPECT_THROW(AutostartEntry("/opt/a=b/velmar-active-profiles", std::nullopt), InvalidArgumentError);
    // The switch goes ahead of the folder, which runs to the line's end on Windows.
    EXPECT_EQ(ExecLine(AutostartEntry("/usr/bin/velmar-active-profiles", "/srv/alarm/", true)),
              "/usr/bin/velmar-active-profiles --notify /PATH:/srv/alarm/");
}

// A home of its own and the autostart option run against it.
struct AutostartRun {
    test::TempDir Home;
    std::ostringstream Out;
    std::ostringstream Err;

    fs::path EntryPath() const {
        return Home.Path() / "config" / "autostart" / "velmar-active-profiles.desktop";
    }
    std::optional<int> Run(const std::vector<std::string>& arguments) {
        Out.str("");
        Err.str("");
        return RunAutostartOption(
            "/opt/velmar", arguments, Out, Err,
            FakeEnvironment({{"XDG_CONFIG_HOME", Home.File("config")}, {"HOME", "/nonexistent"}}));
    }
};

#ifndef _WIN32
// Entries are written on X11 and Wayland systems only.
TEST(RunAutostartOption, OnWritesTheEntryAndOffRemovesIt) {
    AutostartRun run;
    const std::string data = run.Home.File("my data");
    fs::create_directory(data);
    EXPECT_EQ(run.Run({"--autostart", "on", "/PATH:" + data}), 0);
    EXPECT_EQ(ExecLine(ReadText(run.EntryPath())),
              "/opt/velmar/velmar-active-profiles \"/PATH:" + data + "/\"");
    EXPECT_NE(run.Out.str().find(run.EntryPath().string()), std::string::npos) << run.Out.str();
    EXPECT_NE(run.Out.str().find(data + "/"), std::string::npos) << run.Out.str();
    EXPECT_EQ(run.Err.str(), "");

    // The switch may come first, in any letter case; a second "on" replaces the entry.
    EXPECT_EQ(run.Run({"/path:/srv/alarm", "--autostart", "on"}), 0);
    EXPECT_EQ(ExecLine(ReadText(run.EntryPath())), "/opt/velmar/velmar-active-profiles /PATH:/srv/alarm/");
    EXPECT_NE(run.Err.str().find("/srv/alarm/"), std::string::npos) << "a folder that is not there is named";
    EXPECT_EQ(std::distance(fs::directory_iterator(run.EntryPath().parent_path()), fs::directory_iterator{}),
              1)
        << "no temporary file is left behind";

    // --notify travels with the entry, wherever it stands.
    EXPECT_EQ(run.Run({"--autostart", "on", "/PATH:/srv/alarm", "--notify"}), 0);
    EXPECT_EQ(ExecLine(ReadText(run.EntryPath())),
              "/opt/velmar/velmar-active-profiles --notify /PATH:/srv/alarm/");

    EXPECT_EQ(run.Run({"--autostart", "off"}), 0);
    EXPECT_FALSE(fs::exists(run.EntryPath()));
    EXPECT_NE(run.Out.str().find(run.EntryPath().string()), std::string::npos) << run.Out.str();
    EXPECT_EQ(run.Run({"--autostart", "off"}), 0) << "nothing to remove is no failure";
    EXPECT_NE(run.Out.str().find("no autostart entry"), std::string::npos) << run.Out.str();
}

TEST(RunAutostartOption, WithoutFolderTheEntryUsesTheDefaultAndARelativeFolderBecomesAbsolute) {
    AutostartRun run;
    EXPECT_EQ(run.Run({"--autostart", "on"}), 0);
    EXPECT_EQ(ExecLine(ReadText(run.EntryPath())), "/opt/velmar/velmar-active-profiles");
    EXPECT_NE(run.Out.str().find("default data folder"), std::string::npos) << run.Out.str();

    const fs::path previous = fs::current_path();
    fs::current_path(run.Home.Path());
    const auto status = run.Run({"--autostart", "on", "/PATH:alarm/Project"});
    fs::current_path(previous);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ExecLine(ReadText(run.EntryPath())),
              "/opt/velmar/velmar-active-profiles /PATH:" + run.Home.File("alarm/Project/"));
}
#endif

TEST(RunAutostartOption, AnswersOtherArgumentsWithUsageOrNothing) {
    AutostartRun run;
    EXPECT_EQ(run.Run({}), std::nullopt);
    EXPECT_EQ(run.Run({"/PATH:/srv/alarm", "-x"}), std::nullopt);
    const std::vector<std::vector<std::string>> usageErrors = {
        {"--autostart"},
        {"--autostart", "yes"},
        {"--autostart", "ON"},
        {"--autostart", "off", "/PATH:/srv/alarm"},
        {"--autostart", "on", "/srv/alarm"},
        {"--autostart", "on", "--autostart", "off"},
    };
    for (const auto& arguments : usageErrors) {
        EXPECT_EQ(run.Run(arguments), 2) << arguments.size();
        EXPECT_NE(run.Err.str().find("--autostart on"), std::string::npos) << run.Err.str();
        EXPECT_FALSE(fs::exists(run.EntryPath()));
    }
}

#ifndef _WIN32
TEST(RunAutostartOption, AFolderThatCannotBeWrittenFailsWithItsReason) {
    AutostartRun run;
    // A file where the configuration folder should be: no user, not even root,
    // can make a folder inside it.
    std::ofstream(run.Home.Path() / "config") << "not a folder";
    EXPECT_EQ(run.Run({"--autostart", "on", "/PATH:/srv/alarm"}), 1);
    EXPECT_NE(run.Err.str().find(run.Home.File("config")), std::string::npos) << run.Err.str();
    EXPECT_EQ(run.Out.str(), "");
    EXPECT_EQ(run.Run({"--autostart", "on", "/PATH:/srv/\x01"}), 1) << "a folder an entry cannot carry";
    EXPECT_NE(run.Err.str().find("control character"), std::string::npos) << run.Err.str();
}
#else
// Windows starts programs at log-on from the user's Startup folder: the option
// says where to put a shortcut and with which target, changes nothing and ends
// with status 1.
TEST(RunAutostartOption, OnWindowsTellsWhereToPutAShortcutAndChangesNothing) {
    test::TempDir home;
    const std::string data = home.File("my data");
    fs::create_directory(data);
    const std::string startup = home.File("Roaming") + R"(\Microsoft\Windows\Start Menu\Programs\Startup)";
    const std::string program = R"("C:\Program Files\Velmar\velmar-active-profiles.exe")";
    struct Case {
        const char* Title;
        std::vector<std::string> Arguments;
        bool AppData;
        std::vector<std::string> Said; // each is part of what the option prints
    };
    const std::vector<Case> cases = {
        {"a folder",
         {"--autostart", "on", "/PATH:" + data},
         true,
         {"Startup folder: " + startup + " (", "\n  " + program + " \"/PATH:" + data + "\"\n"}},
        {"the switch first, in lower case, quoted",
         {"/path:\"" + data + "\\\"", "--autostart", "on"},
         true,
         {"\n  " + program + " \"/PATH:" + data + "\"\n"}},
        {"no folder", {"--autostart", "on"}, true, {"Startup folder: " + startup, "\n  " + program + "\n"}},
        {"a relative folder",
         {"--autostart", "on", "/PATH:alarm\\Project"},
         true,
         {"\n  " + program + " \"/PATH:" + home.File("alarm\\Project") + "\"\n", "does not exist (yet)"}},
        {"off", {"--autostart", "off"}, true, {"Startup folder: " + startup, "delete its shortcut"}},
        {"no APPDATA", {"--autostart", "on"}, false, {"shell:startup", "\n  " + program + "\n"}},
    };
    const fs::path previous = fs::current_path();
    fs::current_path(home.Path());
    for (const auto& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        std::map<std::string, std::string> variables;
        if (c.AppData) {
            variables["APPDATA"] = home.File("Roaming");
        }
        EXPECT_EQ(RunAutostartOption(R"(C:\Program Files\Velmar)", c.Arguments, out, err,
                                     FakeEnvironment(variables)),
                  1)
            << c.Title;
        EXPECT_EQ(out.str(), "") << c.Title;
        for (const auto& said : c.Said) {
            EXPECT_NE(err.str().find(said), std::string::npos) << c.Title << ": " << said << "\n"
                                                               << err.str();
        }
        EXPECT_NE(err.str().find("nothing was changed"), std::string::npos) << c.Title;
    }
    fs::current_path(previous);
    EXPECT_EQ(std::distance(fs::directory_iterator(home.Path()), fs::directory_iterator{}), 1)
        << "nothing written beside the data folder";
}
#endif

} // namespace
} // namespace velmar
