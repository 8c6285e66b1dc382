#include "bench/BenchSupport.h"

#include "common/Paths.h"
#include "platform/BinaryFile.h"
#include "platform/FileSystem.h"
#include "profiles/ProfileStore.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <poll.h>
#include <random>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace velmar::bench {

namespace fs = std::filesystem;

namespace {

// VmHWM of /proc/PID/status: the peak resident set of the process since its
// last exec, in bytes; 0 when it cannot be read.
std::int64_t PeakResidentBytes(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atoll(line.c_str() + 6) * 1024;
        }
    }
    return 0;
}

std::string MeasureText(Measure measure) {
    return measure == Measure::Cpu ? " measure=cpu" : " measure=wall";
}

} // namespace

void SetFloor(benchmark::State& state, std::string_view floorBenchmark, Measure measure) {
    state.SetLabel("floor=" + std::string(floorBenchmark) + MeasureText(measure));
}

void SetBudget(benchmark::State& state, double milliseconds, Measure measure) {
    state.SetLabel("budget_ms=" + std::to_string(milliseconds) + MeasureText(measure));
}

bool QuickRun() {
    const char* quick = std::getenv("VELMAR_BENCH_QUICK");
    return quick != nullptr && *quick != '\0' && std::string_view(quick) != "0";
}

ScratchFolder::ScratchFolder(std::string_view purpose) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = fs::temp_directory_path() /
                                   ("velmar-bench-" + std::string(purpose) + "-" + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            m_Path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a scratch folder under " + fs::temp_directory_path().string());
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(m_Path, ignored);
}

fs::path ExampleDataFolder() {
    return fs::path(VELMAR_SOURCE_DIR) / "examples" / "Project";
}

namespace {

std::vector<char> ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const fs::path& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string FourDigits(int number) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "%04d", number);
    return text.data();
}

} // namespace

const ScratchData& SharedDataFolder(int profiles, int others) {
    // The folders live as long as the process, so a benchmark's iterations and
    // its floor read the very same files.
    static std::map<std::pair<int, int>, std::pair<std::unique_ptr<ScratchFolder>, ScratchData>> folders;
    auto& entry = folders[{profiles, others}];
    if (entry.first) {
        return entry.second;
    }
    if (profiles > 10000) {
        throw std::invalid_argument("profile file names have four digits: at most 10,000 files");
    }
    auto scratch = std::make_unique<ScratchFolder>("data");
    const fs::path profilesFolder = scratch->Path() / "Profiles";
    fs::create_directory(profilesFolder);
    std::vector<std::vector<char>> examples;
    for (const auto& file : fs::directory_iterator(ExampleDataFolder() / "Profiles")) {
        examples.push_back(ReadWholeFile(file.path()));
    }
    if (examples.empty()) {
        throw std::runtime_error("no example profiles under " + ExampleDataFolder().string());
    }
    for (int i = 0; i < profiles; ++i) {
        WriteWholeFile(profilesFolder / ("Profile_" + FourDigits(i) + ".dat"),
                       examples[static_cast<std::size_t>(i) % examples.size()]);
    }
    const std::vector<char> note = {'n', 'o', 't', 'e', '\n'};
    for (int i = 0; i < others; ++i) {
        WriteWholeFile(profilesFolder / ("Event_" + std::to_string(i) + ".log"), note);
    }
    entry.second.Folder = DataFolder(PathToUtf8(scratch->Path()));
    entry.second.ProfilesPath = entry.second.Folder.ProfilesFolder();
    entry.first = std::move(scratch);
    return entry.second;
}

std::vector<std::string> ProfileNames(const std::string& profilesPath, std::size_t limit) {
    std::vector<std::string> names;
    for (const auto& entry : ListFiles(profilesPath, "Profile_????.dat")) {
        if (names.size() == limit) {
            break;
        }
        names.push_back(entry.Name);
    }
    return names;
}

void WriteLargestProfile(const fs::path& path) {
    BinaryFile file(PathToUtf8(path), BinaryFile::Mode::Truncate);
    file.WriteInt16(kProfileFormatVersion);
    ProfileRecord record;
    record.Name = "Largest schedule";
    record.Active = -1;
    WriteProfileRecord(file, record);
    // The schedule record, written field by field: a schedule object of this
    // size would cost as much memory as the load that is being measured.
    constexpr std::int16_t kMostPeriods = 32767;
    for (int dayType = 0; dayType < 23; ++dayType) {
        file.WriteInt16(-1);
        file.WriteInt16(0);
        file.WriteInt16(kMostPeriods);
        for (int i = 0; i < kMostPeriods; ++i) {
            const auto start = static_cast<std::int16_t>(i % 1440);
            file.WriteInt16(start);
            file.WriteInt16(static_cast<std::int16_t>(start + 1));
        }
        file.WriteInt16(static_cast<std::int16_t>(dayType));
    }
    file.WriteInt16(-1);
    file.Close();
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           bool withDisplay, bool captureOutput) {
    std::array<int, 2> pipeEnds{-1, -1};
    if (captureOutput && pipe2(pipeEnds.data(), O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
    }
    // Everything exec needs is prepared before the fork.
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string_view text(*variable);
        if (!withDisplay && (text.starts_with("DISPLAY=") || text.starts_with("WAYLAND_DISPLAY="))) {
            continue;
        }
        environment.emplace_back(text);
    }
    std::vector<char*> envp;
    envp.reserve(environment.size() + 1);
    for (auto& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> argvText = {program};
    argvText.insert(argvText.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    argv.reserve(argvText.size() + 1);
    for (auto& argument : argvText) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const int nullDevice = open("/dev/null", O_RDWR | O_CLOEXEC);

    m_Pid = fork();
    if (m_Pid < 0) {
        throw std::runtime_error("fork: " + std::string(std::strerror(errno)));
    }
    if (m_Pid == 0) {
        dup2(captureOutput ? pipeEnds[1] : nullDevice, STDOUT_FILENO);
        dup2(nullDevice, STDERR_FILENO);
        dup2(nullDevice, STDIN_FILENO);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(nullDevice);
    if (captureOutput) {
        close(pipeEnds[1]);
        m_Output = pipeEnds[0];
    }
}

ChildProcess::~ChildProcess() {
    if (m_Pid > 0) {
        Stop();
    }
}

bool ChildProcess::WaitForLine(std::string_view text, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    while (true) {
        for (std::size_t at = m_Consumed; at < m_Buffer.size(); ++at) {
            const bool lineStart = at == 0 || m_Buffer[at - 1] == '\n';
            if (lineStart && std::string_view(m_Buffer).substr(at).starts_with(text)) {
                m_Consumed = at + text.size();
                return true;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (m_Output < 0 || left.count() <= 0) {
            return false;
        }
        pollfd ready{m_Output, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        std::array<char, 65536> chunk{};
        const ssize_t got = read(m_Output, chunk.data(), chunk.size());
        if (got <= 0) {
            return false;
        }
        m_Buffer.append(chunk.data(), static_cast<std::size_t>(got));
    }
}

std::int64_t ChildProcess::Stop() {
    if (m_Pid <= 0) {
        return 0;
    }
    // The peak of the program itself, read while it runs: the rusage of a
    // child made by fork also counts the copy of this process it was before
    // its exec, which hides the program's own figure once this process has
    // grown.
    const std::int64_t peak = PeakResidentBytes(m_Pid);
    kill(m_Pid, SIGTERM);
    int status = 0;
    rusage usage{};
    for (int waited = 0; waited < 500; ++waited) {
        if (wait4(m_Pid, &status, WNOHANG, &usage) == m_Pid) {
            break;
        }
        if (waited == 499) {
            kill(m_Pid, SIGKILL);
            wait4(m_Pid, &status, 0, &usage);
        }
        usleep(10000);
    }
    m_Pid = -1;
    if (m_Output >= 0) {
        close(m_Output);
        m_Output = -1;
    }
    if (peak > 0) {
        return peak;
    }
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-union-access): glibc declares the field in a union
    return static_cast<std::int64_t>(usage.ru_maxrss) * 1024;
}

std::string ProgramPath(const char* environmentName, const char* defaultPath) {
    const char* given = std::getenv(environmentName);
    return given != nullptr && *given != '\0' ? given : defaultPath;
}

} // namespace velmar::bench
