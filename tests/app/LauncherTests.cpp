// The launcher's options and its hand-over to the desktop executable.

#include "app/Launcher.h"
#include "app/ProgramOptions.h"
#include "common/Version.h"
#include "profiles/DataFolder.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace velmar {
namespace {

TEST(ProgramOptions, OnlyWholeArgumentsAreOptionsAndTheFirstDecides) {
    struct Case {
        const char* Title;
        std::vector<std::string> Arguments;
        ProgramAction Expected;
    };
    const std::vector<Case> cases = {
        {"nothing", {}, ProgramAction::Run},
        {"the switch alone", {"/PATH:/srv/alarm"}, ProgramAction::Run},
        {"help", {"--help"}, ProgramAction::Help},
        {"version after the switch", {"/PATH:", "/srv/alarm", "--version"}, ProgramAction::Version},
        {"the first option decides", {"--version", "--help"}, ProgramAction::Version},
        {"parts of arguments are not options",
         {"--helpme", "/PATH:/srv/--help", "-help"},
         ProgramAction::Run},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseProgramOptions(c.Arguments).Action, c.Expected) << c.Title;
    }
}

TEST(ProgramOptions, NotifyIsAWholeArgumentAnywhere) {
    EXPECT_TRUE(NotifyRequested({"--notify"}));
    EXPECT_TRUE(NotifyRequested({"/PATH:/srv/alarm", "--notify"}));
    EXPECT_FALSE(NotifyRequested({}));
    EXPECT_FALSE(NotifyRequested({"/PATH:/srv/--notify"}));
    EXPECT_FALSE(NotifyRequested({"--notify=yes", "--Notify"}));
}

TEST(ProgramOptions, HelpAndVersionPrintAndEnd) {
    const auto run = [](ProgramAction action, std::ostream& out) {
        std::ostringstream err;
        const auto status = RunProgramAction({action}, out, err);
        return std::make_pair(status, err.str());
    };
    std::ostringstream help;
    EXPECT_EQ(run(ProgramAction::Help, help), std::make_pair(std::optional<int>(0), std::string()));
    EXPECT_TRUE(help.str().starts_with(
        "Usage: velmar-active-profiles [--notify] [/PATH:FOLDER] [--metrics-file FILE]\n"
        "                              [--metrics-listen ADDRESS:PORT]\n"))
        << help.str();
    EXPECT_NE(help.str().find("\n  --metrics-listen ADDRESS:PORT\n"), std::string::npos);
    EXPECT_NE(help.str().find("  --notify "), std::string::npos) << help.str();

    std::ostringstream version;
    EXPECT_EQ(run(ProgramAction::Version, version), std::make_pair(std::optional<int>(0), std::string()));
    EXPECT_EQ(version.str(), std::string("velmar-active-profiles ") + kVersion + "\n");

    std::ostringstream nothing;
    EXPECT_EQ(run(ProgramAction::Run, nothing).first, std::nullopt);
    EXPECT_EQ(nothing.str(), "");

    std::ostream broken(nullptr); // a standard output that cannot be written (a full disk)
    EXPECT_EQ(
        run(ProgramAction::Version, broken),
        std::make_pair(std::optional<int>(1), std::string("velmar-active-profiles: cannot write to standard "
                                                          "output\n")));
}

#ifndef _WIN32
// Only the launcher of X11 and Wayland systems looks for the desktop
// executable, by POSIX paths; on Windows the tray program is itself
// velmar-active-profiles.exe and starts directly (the "started without the
// launcher" case below).
TEST(Launcher, FindsTheDesktopExecutableBesideItselfThenInstalled) {
    EXPECT_EQ(
        DesktopExecutableCandidates("/usr/bin", "../libexec/velmar-active-profiles"),
        (std::vector<std::string>{"/usr/bin/velmar-active-profiles-desktop",
                                  "/usr/libexec/velmar-active-profiles/velmar-active-profiles-desktop"}));
    EXPECT_EQ(DesktopExecutableCandidates("/opt/velmar", ""),
              (std::vector<std::string>{"/opt/velmar/velmar-active-profiles-desktop"}));
}
#endif

TEST(Launcher, TheDesktopSeesTheLaunchersFolderAndTheUsersArguments) {
    struct Case {
        const char* Title;
        std::string LauncherFolder;
        std::vector<std::string> UserArguments;
        const char* DataPath;
    };
    const std::vector<Case> cases = {
        {"default data folder beside the launcher", "/opt/velmar/bin", {}, "/opt/velmar/bin/Project/"},
        {"the user's switch", "/opt/velmar/bin", {"/PATH:", "/srv/alarm"}, "/srv/alarm/"},
        {"a launcher folder that looks like the switch", "/home/a/PATH:/x", {}, "/home/a/PATH:/x/Project/"},
        {"a user argument that looks like the launcher's",
         "/opt/v",
         {"--velmar-launcher-folder=/elsewhere"},
         "/opt/v/Project/"},
    };
    for (const auto& c : cases) {
        const auto arguments = DesktopArguments("velmar-active-profiles", c.LauncherFolder, c.UserArguments);
        ASSERT_GE(arguments.size(), 2u) << c.Title;
        EXPECT_EQ(arguments.front(), "velmar-active-profiles") << c.Title;
        // What the desktop executable's main receives: the arguments after argv[0].
        const std::vector<std::string> given(arguments.begin() + 1, arguments.end());
        const ProgramCommandLine startup =
            DesktopStartup({"/usr/libexec/velmar-active-profiles", given, given});
        EXPECT_EQ(startup.ExecutableFolder, c.LauncherFolder) << c.Title;
        EXPECT_EQ(startup.Arguments, c.UserArguments) << c.Title;
        // The folder beside the launcher counts where it exists (a portable copy).
        const auto exists = [](const std::string&) { return true; };
        EXPECT_EQ(startup.StartupArguments, c.UserArguments) << c.Title;
        EXPECT_EQ(
            ResolveDataPath(startup.ExecutableFolder, startup.StartupArguments, PathStyle::Posix, exists),
            c.DataPath)
            << c.Title;
    }
    const ProgramCommandLine direct =
        DesktopStartup({"/usr/libexec/velmar-active-profiles", {"/PATH:/srv"}, {"/PATH:/srv"}});
    EXPECT_EQ(direct.ExecutableFolder, "/usr/libexec/velmar-active-profiles")
        << "started without the launcher";
    EXPECT_EQ(direct.Arguments, std::vector<std::string>{"/PATH:/srv"});
}

TEST(Launcher, QtTriesThePlatformThatAnsweredThenFallsBackToOneItRecognises) {
    struct Case {
        const char* Title;
        std::string Answered;
        std::optional<std::string> UserChoice;
        std::optional<std::string> SessionType;
        const char* Expected;
    };
    const std::vector<Case> cases = {
        {"X11 answered", "xcb", std::nullopt, "wayland", "xcb;minimal"},
        {"Wayland answered", "wayland", std::nullopt, std::nullopt, "wayland;minimal"},
        {"both, X11 session", "", std::nullopt, "x11", "xcb;wayland;minimal"},
        {"both, no session type", "", std::nullopt, std::nullopt, "xcb;wayland;minimal"},
        {"both, Wayland session", "", std::nullopt, "wayland", "wayland;xcb;minimal"},
        {"the user's choice stands", "xcb", "wayland", std::nullopt, "wayland;minimal"},
        {"an empty choice is none", "xcb", "", std::nullopt, "xcb;minimal"},
    };
    for (const auto& c : cases) {
        const GraphicalSession session{DisplayState::Reachable, "the display :0", c.Answered};
        EXPECT_EQ(QtPlatformList(session, c.UserChoice, c.SessionType), c.Expected) << c.Title;
    }
}

} // namespace
} // namespace velmar
