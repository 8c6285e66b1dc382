// The real velmar-active-profiles without a graphical session: its console
// output follows changes of the profile files within one tick and a half.

#include "tests/support/ProfileFileWriter.h"
#include "tests/support/TestFiles.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// POSIX leaves this declaration to the program; glibc makes it only with _GNU_SOURCE.
extern char** environ; // NOLINT(readability-redundant-declaration)

namespace velmar {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kTickAndAHalf = 7500ms;

// One printed block: its header and lines up to and including "tooltip: ".
struct Block {
    std::string Header;
    std::vector<std::string> Rows;
    std::string ToolTip;
    Clock::time_point Seen;
};

class RunningProgram {
public:
    explicit RunningProgram(const std::string& dataFolder) {
        std::array<int, 2> pipeFds{};
        if (pipe(pipeFds.data()) != 0) {
            throw std::runtime_error("pipe");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeFds[1]);

        std::vector<std::string> environment;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0) {
                environment.push_back(entry);
            }
        }
        std::vector<char*> envp;
        envp.reserve(environment.size() + 1);
        for (auto& entry : environment) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        std::string program = VELMAR_ACTIVE_PROFILES_EXE;
        std::string path = "/PATH:" + dataFolder;
        std::array<char*, 3> argv = {program.data(), path.data(), nullptr};
        const int error = posix_spawn(&m_Pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        m_Out = pipeFds[0];
        if (error != 0) {
            throw std::runtime_error(std::string("cannot start the program: ") + std::strerror(error));
        }
    }

    ~RunningProgram() {
        if (m_Pid > 0) {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, nullptr, 0);
        }
        close(m_Out);
    }

    // The next complete block, or none when `timeout` passes first.
    std::optional<Block> NextBlock(std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        for (;;) {
            if (auto block = TakeBlock()) {
                return block;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left <= 0ms) {
                return std::nullopt;
            }
            pollfd fd{m_Out, POLLIN, 0};
            if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
                continue;
            }
            std::array<char, 4096> buffer{};
            const ssize_t n = read(m_Out, buffer.data(), buffer.size());
            if (n <= 0) {
                return std::nullopt; // the program ended
            }
            m_Buffer.append(buffer.data(), static_cast<std::size_t>(n));
        }
    }

    // Sends a signal and returns the exit status, -1 when it did not exit normally.
    int StopWith(int signal) {
        kill(m_Pid, signal);
        int status = 0;
        waitpid(m_Pid, &status, 0);
        m_Pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    std::optional<Block> TakeBlock() {
        const auto end = m_Buffer.find("\ntooltip: ");
        if (end == std::string::npos) {
            return std::nullopt;
        }
        const auto lineEnd = m_Buffer.find('\n', end + 1);
        if (lineEnd == std::string::npos) {
            return std::nullopt;
        }
        const std::string text = m_Buffer.substr(0, lineEnd + 1);
        m_Buffer.erase(0, lineEnd + 1);
        Block block;
        block.Seen = Clock::now();
        std::size_t start = 0;
        while (start < text.size()) {
            const auto nl = text.find('\n', start);
            const std::string line = text.substr(start, nl - start);
            start = nl + 1;
            if (line.rfind("== ", 0) == 0) {
                block.Header = line;
            } else if (line.rfind("tooltip: ", 0) == 0) {
                block.ToolTip = line.substr(9);
            } else {
                block.Rows.push_back(line);
            }
        }
        return block;
    }

    pid_t m_Pid = -1;
    int m_Out = -1;
    std::string m_Buffer;
};

class ConsoleEndToEnd : public ::testing::Test {
protected:
    ConsoleEndToEnd() { fs::create_directory(Folder()); }
    fs::path Folder() const { return m_Data.Path() / "Profiles"; }
    void Write(int number, const std::string& name, bool active) {
        std::array<char, 32> file{};
        std::snprintf(file.data(), file.size(), "Profile_%04d.dat", number);
        test::WriteProfileFile(Folder() / file.data(), name, active);
    }
    std::string DataFolder() const { return m_Data.File(""); }

    test::TempDir m_Data;
};

TEST_F(ConsoleEndToEnd, FollowsChangesWithinATickAndAHalf) {
    Write(1, "Kontor dagtid", false);
    Write(2, "Nattlarm Lager", true);
    RunningProgram program(DataFolder());

    const auto first = program.NextBlock(5s);
    ASSERT_TRUE(first.has_value()) << "the load step prints at once";
    EXPECT_TRUE(first->Header.ends_with(" 2 profiles")) << first->Header;
    EXPECT_EQ(first->Rows, (std::vector<std::string>{"- Kontor dagtid", "+ Nattlarm Lager"}));
    EXPECT_EQ(first->ToolTip, "Aktiva profiler:\\n\xC2\xB7 Nattlarm Lager");

    struct Step {
        const char* Title;
        std::function<void()> Change;
        std::vector<std::string> Rows;
    };
    const std::vector<Step> steps = {
        {"flag changed", [&] { Write(1, "Kontor dagtid", true); }, {"+ Kontor dagtid", "+ Nattlarm Lager"}},
        {"file added",
         [&] { Write(3, "Ali\\ce\r\nnext", false); },
         {R"(- Ali\\ce\r\nnext)", "+ Kontor dagtid", "+ Nattlarm Lager"}},
        {"file deleted",
         [&] { fs::remove(Folder() / "Profile_0002.dat"); },
         {R"(- Ali\\ce\r\nnext)", "+ Kontor dagtid"}},
    };
    for (const auto& step : steps) {
        const auto changed = Clock::now();
        step.Change();
        const auto block = program.NextBlock(kTickAndAHalf);
        ASSERT_TRUE(block.has_value()) << step.Title << ": no block within a tick and a half";
        EXPECT_EQ(block->Rows, step.Rows) << step.Title;
        const auto delay = std::chrono::duration_cast<std::chrono::milliseconds>(block->Seen - changed);
        std::printf("%s: seen after %lld ms\n", step.Title, static_cast<long long>(delay.count()));
    }
    EXPECT_FALSE(program.NextBlock(10ms).has_value()) << "nothing printed without a change";

    EXPECT_EQ(program.StopWith(SIGTERM), 0);
}

TEST_F(ConsoleEndToEnd, InterruptEndsCleanlyAndAnEmptyFolderShowsTheHeading) {
    RunningProgram program(DataFolder());
    const auto first = program.NextBlock(5s);
    ASSERT_TRUE(first.has_value());
    EXPECT_TRUE(first->Header.ends_with(" 0 profiles")) << first->Header;
    EXPECT_TRUE(first->Rows.empty());
    EXPECT_EQ(first->ToolTip, "Aktiva profiler:");
    EXPECT_EQ(program.StopWith(SIGINT), 0);
}

// What a shell command printed (standard output and error) and its exit status.
struct CommandResult {
    int Status = -1;
    std::string Output;
};

CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
        result.Output += buffer.data();
    }
    const int status = pclose(pipe);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool Installed(const char* tool) {
    return RunCommand(std::string("command -v ") + tool).Status == 0;
}

TEST_F(ConsoleEndToEnd, ListCommandPrintsOneBlockAndEnds) {
    Write(4, "Weekend patrol", true);
    Write(9, "Kontor", false);
    const auto [status, output] =
        RunCommand(std::string(VELMAR_PROFILES_EXE) + " list '/PATH:" + DataFolder() + "'");
    EXPECT_EQ(status, 0) << output;
    ASSERT_GE(output.size(), 12u);
    EXPECT_EQ(output.substr(0, 3), "== ");
    EXPECT_EQ(output.substr(11),
              " 2 profiles\n- Kontor\n+ Weekend patrol\ntooltip: Aktiva profiler:\\n\xC2\xB7 "
              "Weekend patrol\n");
}

// Faults that only the real system gives: a read that fails inside a file
// (injected by strace), and a file or folder another user may not read (the
// tests run as root, so the command runs as nobody). Each shows as its "!"
// line and is gone once mended.
TEST_F(ConsoleEndToEnd, ListShowsFailuresOfTheSystemUntilMended) {
    if (!Installed("strace") || !Installed("setpriv") || geteuid() != 0) {
        GTEST_SKIP() << "needs strace, setpriv and root";
    }
    Write(1, "Kontor", false);
    Write(2, "Nattlarm", true);
    const std::string second = (Folder() / "Profile_0002.dat").string();
    // LeakSanitizer cannot work under ptrace, so a sanitized build checks
    // for leaks in the other runs only.
    const std::string strace = "env ASAN_OPTIONS=detect_leaks=0 strace -f -qq -o /dev/null -P '" + second +
                               "' -e trace=read -e inject=read:error=EIO ";
    const std::string nobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    const auto mode = [](const fs::path& path, fs::perms perms) {
        return [path, perms] { fs::permissions(path, perms); };
    };
    struct Case {
        const char* Title;
        std::string Prefix;
        std::function<void()> Break;
        std::string MendedPrefix;
        std::function<void()> Mend;
        int Status;
        std::string Problem;
    };
    const std::vector<Case> cases = {
        {"a read error inside a file", strace, [] {}, "", [] {}, 0,
         "! Profile_0002.dat: input/output error\n"},
        {"a file another user may not read", nobody,
         mode(Folder() / "Profile_0002.dat", fs::perms::owner_read), nobody,
         mode(Folder() / "Profile_0002.dat",
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read),
         0, "! Profile_0002.dat: permission denied\n"},
        {"a folder another user may not list", nobody, mode(Folder(), fs::perms::owner_all), nobody,
         mode(Folder(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec),
         1, "! Profiles folder cannot be listed (permission denied): "},
    };
    const std::string list = std::string(VELMAR_PROFILES_EXE) + " list '/PATH:" + DataFolder() + "'";
    for (const auto& c : cases) {
        c.Break();
        const auto broken = RunCommand(c.Prefix + list);
        EXPECT_EQ(broken.Status, c.Status) << c.Title << "\n" << broken.Output;
        EXPECT_NE(broken.Output.find(c.Problem), std::string::npos) << c.Title << "\n" << broken.Output;
        EXPECT_EQ(broken.Output.find("+ Nattlarm"), std::string::npos)
            << c.Title << ": no profile from a failed read";
        c.Mend();
        const auto mended = RunCommand(c.MendedPrefix + list);
        EXPECT_EQ(mended.Status, 0) << c.Title << "\n" << mended.Output;
        EXPECT_EQ(mended.Output.find("\n! "), std::string::npos) << c.Title << "\n" << mended.Output;
        EXPECT_NE(mended.Output.find("+ Nattlarm"), std::string::npos) << c.Title << "\n" << mended.Output;
    }
}

} // namespace
} // namespace velmar
