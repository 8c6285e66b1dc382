// The real velmar-active-profiles without a graphical session: its console
// output follows changes of the profile files within one tick and a half, and
// so do its monitoring outputs (the metrics file and endpoint, the service
// manager's notifications); velmar-profiles list and watch beside it.

#include "tests/support/ProfileFileWriter.h"
#include "tests/support/TestFiles.h"

#include <algorithm>
#include <arpa/inet.h>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
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
    // The monitor on `dataFolder`, its standard output read.
    explicit RunningProgram(const std::string& dataFolder)
        : RunningProgram({VELMAR_ACTIVE_PROFILES_EXE, "/PATH:" + dataFolder}) {}

    // `arguments` (the program first) without a graphical session and with
    // `environment` added; standard output is read, standard error goes to
    // the file `errorFile` when one is named.
    explicit RunningProgram(std::vector<std::string> arguments,
                            const std::vector<std::string>& environment = {},
                            const std::string& errorFile = {}) {
        std::array<int, 2> pipeFds{};
        if (pipe(pipeFds.data()) != 0) {
            throw std::runtime_error("pipe");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
        if (!errorFile.empty()) {
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0600);
        }

        std::vector<std::string> variables = environment;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0) {
                variables.push_back(entry);
            }
        }
        std::vector<char*> envp;
        envp.reserve(variables.size() + 1);
        for (auto& entry : variables) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);
        std::vector<char*> argv;
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        const int error = posix_spawn(&m_Pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        m_Out = pipeFds[0];
        if (error != 0) {
            m_Pid = -1;
            throw std::runtime_error(std::string("cannot start the program: ") + std::strerror(error));
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

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
            if (!ReadSome(deadline)) {
                return std::nullopt;
            }
        }
    }

    // The next complete line, without its line feed, or none when `timeout`
    // passes first or the program ends.
    std::optional<std::string> NextLine(std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        for (;;) {
            if (const auto end = m_Buffer.find('\n'); end != std::string::npos) {
                std::string line = m_Buffer.substr(0, end);
                m_Buffer.erase(0, end + 1);
                return line;
            }
            if (!ReadSome(deadline)) {
                return std::nullopt;
            }
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
    // Reads what the program printed into the buffer; false once `deadline`
    // has passed or the program ended.
    bool ReadSome(Clock::time_point deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left <= 0ms) {
            return false;
        }
        pollfd fd{m_Out, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
            return true;
        }
        std::array<char, 4096> buffer{};
        const ssize_t n = read(m_Out, buffer.data(), buffer.size());
        if (n <= 0) {
            return false; // the program ended
        }
        m_Buffer.append(buffer.data(), static_cast<std::size_t>(n));
        return true;
    }

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

// The service manager's end of NOTIFY_SOCKET, as systemd listens for a unit
// of Type=notify: every message that arrives is kept.
class ServiceManagerSocket {
public:
    explicit ServiceManagerSocket(const std::string& path)
        : m_Path(path), m_Socket(socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::copy_n(path.begin(), std::min(path.size(), sizeof address.sun_path - 1), address.sun_path);
        EXPECT_EQ(bind(m_Socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << path;
    }
    ~ServiceManagerSocket() { close(m_Socket); }
    ServiceManagerSocket(const ServiceManagerSocket&) = delete;
    ServiceManagerSocket& operator=(const ServiceManagerSocket&) = delete;

    std::string Variable() const { return "NOTIFY_SOCKET=" + m_Path; }
    // Every message so far, in order of arrival.
    const std::vector<std::string>& Messages() {
        std::array<char, 4096> buffer{};
        for (ssize_t n = 0; (n = recv(m_Socket, buffer.data(), buffer.size(), 0)) > 0;) {
            m_Messages.emplace_back(buffer.data(), static_cast<std::size_t>(n));
        }
        return m_Messages;
    }
    // Waits up to `timeout` for a message equal to `message`.
    bool WaitFor(const std::string& message, std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        for (;;) {
            const auto& messages = Messages();
            if (std::count(messages.begin(), messages.end(), message) > 0) {
                return true;
            }
            if (Clock::now() >= deadline) {
                return false;
            }
            pollfd fd{m_Socket, POLLIN, 0};
            poll(&fd, 1, 100);
        }
    }

private:
    std::string m_Path;
    int m_Socket;
    std::vector<std::string> m_Messages;
};

// The answer of a plain HTTP/1.0 GET from 127.0.0.1:`port`, headers and body.
std::string HttpGet(int port, const std::string& path) {
    const int connection = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string answer;
    if (connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
        if (write(connection, request.data(), request.size()) == static_cast<ssize_t>(request.size())) {
            std::array<char, 4096> buffer{};
            for (ssize_t n = 0; (n = read(connection, buffer.data(), buffer.size())) > 0;) {
                answer.append(buffer.data(), static_cast<std::size_t>(n));
            }
        }
    }
    close(connection);
    return answer;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The monitor as a service runs it: its metrics in a file and on a port after
// every reload, READY=1 once the first load is done, WATCHDOG=1 from every
// tick and STOPPING=1 at the end.
TEST_F(ConsoleEndToEnd, MonitoringOutputsFollowEveryReloadAndTheServiceManagerHearsOfThem) {
    Write(1, "Kontor", false);
    test::TempDir work;
    ServiceManagerSocket manager(work.File("notify"));
    const fs::path metrics = work.Path() / "velmar.prom";
    const std::string errors = work.File("stderr");
    RunningProgram program({VELMAR_ACTIVE_PROFILES_EXE, "/PATH:" + DataFolder(), "--metrics-file",
                            metrics.string(), "--metrics-listen", "127.0.0.1:0"},
                           {manager.Variable(), "WATCHDOG_USEC=30000000"}, errors);
    ASSERT_TRUE(program.NextBlock(5s).has_value());
    const std::string said = ReadText(errors);
    const auto at = said.find("velmar-active-profiles: metrics at http://127.0.0.1:");
    ASSERT_NE(at, std::string::npos) << said;
    const int port = std::stoi(said.substr(at + 52));
    EXPECT_EQ(said.substr(at),
              "velmar-active-profiles: metrics at http://127.0.0.1:" + std::to_string(port) + "/metrics\n")
        << "nothing else is said";

    ASSERT_TRUE(manager.WaitFor("READY=1\nSTATUS=1 profile, 0 active", 2s));
    EXPECT_EQ(manager.Messages().front(), "WATCHDOG=1") << "the first tick comes before the first load";
    const std::string before = ReadText(metrics);
    EXPECT_NE(before.find("profile=\"Kontor\"} 0\n"), std::string::npos) << before;
    const std::string answer = HttpGet(port, "/metrics");
    // libmicrohttpd answers a 1.0 request in its own version, as HTTP allows.
    EXPECT_TRUE(answer.starts_with("HTTP/1.1 200 OK\r\n") || answer.starts_with("HTTP/1.0 200 OK\r\n"))
        << answer.substr(0, answer.find("\r\n"));
    EXPECT_TRUE(answer.ends_with("\r\n\r\n" + before)) << "the same text in the file and on the port";

    Write(1, "Kontor", true);
    ASSERT_TRUE(program.NextBlock(kTickAndAHalf).has_value());
    const std::string after = ReadText(metrics);
    EXPECT_NE(after.find("profile=\"Kontor\"} 1\n"), std::string::npos) << after;
    EXPECT_TRUE(HttpGet(port, "/metrics").ends_with("\r\n\r\n" + after));
    EXPECT_TRUE(manager.WaitFor("STATUS=1 profile, 1 active", 1s));
    const auto& messages = manager.Messages();
    EXPECT_GE(std::count(messages.begin(), messages.end(), "WATCHDOG=1"), 2) << "a tick noticed the change";

    EXPECT_EQ(program.StopWith(SIGTERM), 0);
    EXPECT_TRUE(manager.WaitFor("STOPPING=1", 1s));
    EXPECT_FALSE(fs::exists(work.Path() / "velmar.prom~"));
}

TEST_F(ConsoleEndToEnd, AMonitoringOptionThatCannotBeUsedEndsTheStartWithOneLine) {
    // A port in use: ours, listening.
    const int taken = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(taken, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(taken, 1), 0);
    ASSERT_EQ(getsockname(taken, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string port = std::to_string(ntohs(address.sin_port));

    struct Case {
        std::string Arguments;
        int Status;
        std::string Line;
    };
    const std::vector<Case> cases = {
        {"--metrics-listen", 2,
         "velmar-active-profiles: --metrics-listen needs ADDRESS:PORT (see velmar-active-profiles --help)"},
        {"--metrics-listen example.org:9772", 2,
         "velmar-active-profiles: --metrics-listen: metrics address \"example.org:9772\": not a numeric IPv4 "
         "or "
         "IPv6 address (see velmar-active-profiles --help)"},
        {"--metrics-file a.prom --metrics-file=b.prom", 2,
         "velmar-active-profiles: --metrics-file is given more than once (see velmar-active-profiles "
         "--help)"},
        {"--metrics-listen 127.0.0.1:" + port, 1,
         "velmar-active-profiles: File error: cannot listen on 127.0.0.1:" + port +
             ": address already in use"},
    };
    for (const Case& c : cases) {
        const auto [status, output] = RunCommand(
            "{ env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 " + std::string(VELMAR_ACTIVE_PROFILES_EXE) +
            " '/PATH:" + DataFolder() + "' " + c.Arguments + " </dev/null >/dev/null; }");
        EXPECT_EQ(status, c.Status) << c.Arguments;
        EXPECT_EQ(output, c.Line + "\n") << c.Arguments;
    }
    close(taken);

    // libmicrohttpd is loaded when the server starts: a copy that cannot be
    // loaded ends the start with one line that names it.
    test::TempDir libraries;
    std::ofstream(libraries.File("libmicrohttpd.so.12")) << "not a library";
    const auto [status, output] =
        RunCommand("{ env -u DISPLAY -u WAYLAND_DISPLAY LD_LIBRARY_PATH='" + libraries.File("") +
                   "' timeout 10 " + std::string(VELMAR_ACTIVE_PROFILES_EXE) + " '/PATH:" + DataFolder() +
                   "' --metrics-listen 127.0.0.1:0 </dev/null >/dev/null; }");
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(output.starts_with("velmar-active-profiles: File error: cannot listen on 127.0.0.1:0: cannot "
                                   "load libmicrohttpd.so.12: "))
        << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
}

// velmar-profiles watch: the whole state first, then one line per reload that
// changed something, and nothing while nothing changes.
TEST_F(ConsoleEndToEnd, WatchPrintsTheStateThenEveryChangeAndNothingWhileIdle) {
    Write(1, "Kontor", false);
    Write(2, "Natt", true);
    RunningProgram watch({VELMAR_PROFILES_EXE, "watch", "/PATH:" + DataFolder()});
    const auto state = watch.NextLine(5s);
    ASSERT_TRUE(state.has_value());
    EXPECT_TRUE(state->starts_with("{\"time\":\"")) << *state;
    EXPECT_TRUE(state->ends_with(
        ",\"event\":\"state\",\"folder\":\"" + DataFolder() +
        "\",\"profiles\":[{\"file\":\"Profile_0001.dat\",\"name\":\"Kontor\",\"active\":false},"
        "{\"file\":\"Profile_0002.dat\",\"name\":\"Natt\",\"active\":true}],\"problems\":[]}"))
        << *state;

    struct Step {
        const char* Title;
        std::function<void()> Change;
        std::string Line; // after the time
    };
    const std::vector<Step> steps = {
        {"flag changed", [&] { Write(1, "Kontor", true); },
         R"(,"event":"change","appeared":[],"disappeared":[],"changed":[{"file":"Profile_0001.dat","name":"Kontor","active":true}],"problemsAppeared":[],"problemsGone":[]})"},
        {"a folder named like a profile", [&] { fs::create_directory(Folder() / "Profile_0003.dat"); },
         R"(,"event":"change","appeared":[],"disappeared":[],"changed":[],"problemsAppeared":[{"kind":"notAFile","file":"Profile_0003.dat","text":"Profile_0003.dat: is a directory"}],"problemsGone":[]})"},
    };
    for (const Step& step : steps) {
        step.Change();
        const auto line = watch.NextLine(kTickAndAHalf);
        ASSERT_TRUE(line.has_value()) << step.Title << ": no line within a tick and a half";
        EXPECT_TRUE(line->starts_with("{\"time\":\"")) << *line;
        EXPECT_TRUE(line->ends_with(step.Line)) << step.Title << "\n" << *line;
    }
    EXPECT_FALSE(watch.NextLine(5500ms).has_value()) << "an idle tick prints nothing";
    EXPECT_EQ(watch.StopWith(SIGTERM), 0);
}

TEST_F(ConsoleEndToEnd, WatchEndsCleanlyOnEveryStopSignalAndWithItsReader) {
    Write(1, "Kontor", false);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        RunningProgram watch({VELMAR_PROFILES_EXE, "watch", "/PATH:" + DataFolder()});
        ASSERT_TRUE(watch.NextLine(5s).has_value());
        EXPECT_EQ(watch.StopWith(signal), 0) << strsignal(signal);
    }

    // A reader that takes one line and goes: the watch ends within the pause
    // it is in (0), or from the signal of its next write (141), never waits
    // for a change that would make it write.
    test::TempDir work;
    const std::string script = work.File("head.sh");
    std::ofstream(script) << "timeout 30 '" VELMAR_PROFILES_EXE "' watch '/PATH:" << DataFolder()
                          << "' | head -n 1 >/dev/null\necho \"${PIPESTATUS[0]}\"\n";
    const auto start = Clock::now();
    const auto [status, output] = RunCommand("bash '" + script + "'");
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(output == "0\n" || output == "141\n") << output;
    EXPECT_LT(took, 5s) << "ended with its reader, not at the next change";
    std::printf("watch | head -1: status %s after %lld ms\n", output.substr(0, output.size() - 1).c_str(),
                static_cast<long long>(took.count()));
}

} // namespace
} // namespace velmar
