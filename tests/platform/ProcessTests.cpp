// What the program learns from the operating system: canonical folders, the
// graphical session and whether its display answers, the hand-over to another
// executable, and held standard error. POSIX only: the probe and the
// hand-over exist for X11 and Wayland systems.

#include "platform/FileSystem.h"
#include "platform/GraphicalSession.h"
#include "platform/Process.h"
#include "tests/support/TestFiles.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace velmar {
namespace {

namespace fs = std::filesystem;

// A listening socket that closes when it goes: TCP on 127.0.0.1 with a port
// the system picks, or Unix-domain at a path.
class Listener {
public:
    Listener() : m_Fd(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        EXPECT_EQ(::bind(m_Fd, reinterpret_cast<sockaddr*>(&address), length), 0);
        EXPECT_EQ(::listen(m_Fd, 4), 0);
        EXPECT_EQ(::getsockname(m_Fd, reinterpret_cast<sockaddr*>(&address), &length), 0);
        m_Port = ntohs(address.sin_port);
    }
    explicit Listener(const std::string& path) : m_Fd(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof(address.sun_path) - 1);
        EXPECT_EQ(::bind(m_Fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        EXPECT_EQ(::listen(m_Fd, 4), 0);
    }
    ~Listener() { Close(); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // X11's display number for the TCP port (6000 + N).
    std::string TcpDisplay() const { return "127.0.0.1:" + std::to_string(m_Port - 6000) + ".0"; }
    void Close() {
        if (m_Fd >= 0) {
            ::close(m_Fd);
            m_Fd = -1;
        }
    }

private:
    int m_Fd;
    int m_Port = 0;
};

EnvironmentLookup Environment(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const char* name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        return found == variables.end() ? std::nullopt : std::optional<std::string>(found->second);
    };
}

TEST(CanonicalFolder, GivesOneTextForEverySpellingOfAFolder) {
    test::TempDir temp;
    const fs::path folder = temp.Path() / "Project";
    fs::create_directories(folder / "Profiles");
    fs::create_directory_symlink(folder, temp.Path() / "link");
    const std::string expected = CanonicalFolder(folder.string());
    EXPECT_EQ(expected, fs::canonical(folder).string());
    struct Case {
        const char* Title;
        std::string Spelling;
    };
    const auto cases = std::to_array<Case>({
        {"trailing separator", folder.string() + "/"},
        {"dot", folder.string() + "/."},
        {"dot dot", (folder / "Profiles" / "..").string() + "/"},
        {"symbolic link", (temp.Path() / "link").string()},
        {"doubled separators", temp.Path().string() + "//Project//"},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(CanonicalFolder(c.Spelling), expected) << c.Title;
    }
    EXPECT_NE(CanonicalFolder((temp.Path() / "Other").string()), expected);
    EXPECT_EQ(CanonicalFolder((temp.Path() / "missing" / "x" / "..").string() + "/"),
              fs::canonical(temp.Path()).string() + "/missing")
        << "a folder that does not exist is normalised as written";
    EXPECT_EQ(CanonicalFolder("/"), "/");

    const fs::path saved = fs::current_path();
    fs::current_path(temp.Path());
    EXPECT_EQ(CanonicalFolder("Project/"), expected) << "relative to the current folder";
    fs::current_path(saved);
}

TEST(ProbeGraphicalSession, NamesTheSessionAndWhatAnswers) {
    test::TempDir runtime;
    const Listener x11;
    const Listener wayland(runtime.File("wayland-test"));
    Listener closedX11;
    const std::string closedDisplay = closedX11.TcpDisplay();
    closedX11.Close();
    std::ofstream(runtime.Path() / "wayland-stale") << "not a socket";
    const std::string runtimeFolder = runtime.Path().string();

    struct Case {
        const char* Title;
        std::map<std::string, std::string> Variables;
        DisplayState State;
        std::string Displays;
        std::string QtPlatform;
    };
    const auto cases = std::to_array<Case>({
        {"nothing set", {}, DisplayState::None, "", ""},
        {"empty values", {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, DisplayState::None, "", ""},
        {"X11 over TCP",
         {{"DISPLAY", x11.TcpDisplay()}},
         DisplayState::Reachable,
         "the display " + x11.TcpDisplay(),
         "xcb"},
        {"X11 nobody listens",
         {{"DISPLAY", closedDisplay}},
         DisplayState::Unreachable,
         "the display " + closedDisplay,
         ""},
        {"X11 local display without a server",
         {{"DISPLAY", ":65000"}},
         DisplayState::Unreachable,
         "the display :65000",
         ""},
        {"X11 malformed", {{"DISPLAY", "nonsense"}}, DisplayState::Unreachable, "the display nonsense", ""},
        {"Wayland in the runtime folder",
         {{"WAYLAND_DISPLAY", "wayland-test"}, {"XDG_RUNTIME_DIR", runtimeFolder}},
         DisplayState::Reachable,
         "the Wayland display wayland-test",
         "wayland"},
        {"Wayland by absolute path",
         {{"WAYLAND_DISPLAY", runtime.File("wayland-test")}},
         DisplayState::Reachable,
         "the Wayland display " + runtime.File("wayland-test"),
         "wayland"},
        {"Wayland without a runtime folder",
         {{"WAYLAND_DISPLAY", "wayland-test"}},
         DisplayState::Unreachable,
         "the Wayland display wayland-test",
         ""},
        {"Wayland socket file without a compositor",
         {{"WAYLAND_DISPLAY", "wayland-stale"}, {"XDG_RUNTIME_DIR", runtimeFolder}},
         DisplayState::Unreachable,
         "the Wayland display wayland-stale",
         ""},
        {"both answer: the platform decides",
         {{"DISPLAY", x11.TcpDisplay()},
          {"WAYLAND_DISPLAY", "wayland-test"},
          {"XDG_RUNTIME_DIR", runtimeFolder}},
         DisplayState::Reachable,
         "the display " + x11.TcpDisplay() + " or the Wayland display wayland-test",
         ""},
        {"only Wayland answers",
         {{"DISPLAY", closedDisplay},
          {"WAYLAND_DISPLAY", "wayland-test"},
          {"XDG_RUNTIME_DIR", runtimeFolder}},
         DisplayState::Reachable,
         "the Wayland display wayland-test",
         "wayland"},
        {"neither answers",
         {{"DISPLAY", closedDisplay},
          {"WAYLAND_DISPLAY", "wayland-gone"},
          {"XDG_RUNTIME_DIR", runtimeFolder}},
         DisplayState::Unreachable,
         "the display " + closedDisplay + " or the Wayland display wayland-gone",
         ""},
    });
    for (const auto& c : cases) {
        const GraphicalSession session = ProbeGraphicalSession(Environment(c.Variables));
        EXPECT_EQ(session.State, c.State) << c.Title;
        EXPECT_EQ(session.Displays, c.Displays) << c.Title;
        EXPECT_EQ(session.QtPlatform, c.QtPlatform) << c.Title;
    }
}

TEST(ExecFirst, ReportsWhyNothingCouldBeStarted) {
    test::TempDir temp;
    const std::string missing1 = temp.File("missing");
    const std::string missing2 = temp.File("nowhere/missing");
    EXPECT_EQ(ExecFirst({missing1, missing2}, {"x"}), "cannot find " + missing1 + " or " + missing2);

    const std::string notExecutable = temp.File("plain");
    std::ofstream(notExecutable) << "#!/bin/sh\n";
    fs::permissions(notExecutable, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ExecFirst({missing1, notExecutable}, {"x"}),
              "cannot start " + notExecutable + ": Permission denied")
        << "a file that is there but cannot run is reported, not skipped";
}

TEST(HeldStandardError, HoldsLibraryPrintsUntilReleased) {
    test::TempDir temp;
    const std::string log = temp.File("stderr.txt");
    // Standard error itself goes to a file here, so that the test can see
    // what reaches it.
    std::FILE* file = std::fopen(log.c_str(), "w");
    ASSERT_NE(file, nullptr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(::fileno(file), STDERR_FILENO);
    const auto printDirectly = [](const char* text) {
        EXPECT_GT(::write(STDERR_FILENO, text, std::strlen(text)), 0);
    };
    {
        HeldStandardError held;
        printDirectly("first line\n");
        std::fputs("through stdio\n", stderr);
        EXPECT_EQ(held.Text(), "first line\nthrough stdio\n");
    }
    printDirectly("after the drop\n");
    {
        HeldStandardError held;
        printDirectly("kept\n");
        held.Release();
        printDirectly("after the release\n");
    }
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    std::fclose(file);
    const auto bytes = test::ReadFileBytes(log);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "after the drop\nkept\nafter the release\n");
}

} // namespace
} // namespace velmar
