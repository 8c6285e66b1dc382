#pragma once

// What the benchmarks share: folders of profile files made for a run, the
// figures each benchmark is compared with, and child processes timed from
// exec to the moment they show something.

#include "profiles/DataFolder.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmar::bench {

// Which time of a benchmark counts: the CPU time of this process for work done
// in it, the wall time for whole processes started and waited for.
enum class Measure { Cpu, Wall };

// Every benchmark names what it is measured against, for scripts/bench.sh:
// either another benchmark (the floor: the least the job can cost) or a budget
// in milliseconds. The script prints each figure as a ratio to it.
void SetFloor(benchmark::State& state, std::string_view floorBenchmark, Measure measure = Measure::Cpu);
void SetBudget(benchmark::State& state, double milliseconds, Measure measure = Measure::Cpu);

// True when VELMAR_BENCH_QUICK is set: the heavy fixtures shrink so that CI can
// run every benchmark once in seconds. The figures are then not the real ones.
bool QuickRun();

// A folder under the system's temporary folder, removed with its content.
class ScratchFolder {
public:
    explicit ScratchFolder(std::string_view purpose);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_Path; }

private:
    std::filesystem::path m_Path;
};

// The source tree's examples/Project folder (the example profiles).
std::filesystem::path ExampleDataFolder();

// A data folder whose Profiles folder holds `profiles` profile files
// (Profile_0000.dat upwards, the example profiles over and over) and `others`
// files whose names do not match the profile pattern. Made once per process
// and size, and kept until the process ends.
struct ScratchData {
    velmar::DataFolder Folder{std::string()};
    std::string ProfilesPath; // Folder.ProfilesFolder()
};
const ScratchData& SharedDataFolder(int profiles, int others = 0);

// The profile files of a folder as the reload reads them: name order does
// not matter, the first `limit` matching names in listing order.
std::vector<std::string> ProfileNames(const std::string& profilesPath, std::size_t limit);

// Writes a version-4 profile whose schedule holds the largest record the
// format allows: 23 day types of 32,767 periods each (about 3 MB).
void WriteLargestProfile(const std::filesystem::path& path);

// A started child process with its standard output on a pipe.
class ChildProcess {
public:
    // Starts `program` with `arguments`; `withDisplay` false removes DISPLAY and
    // WAYLAND_DISPLAY from its environment. Output goes to the pipe when
    // `captureOutput`, else to /dev/null.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments, bool withDisplay,
                 bool captureOutput);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads output until `text` has appeared at the start of a line after
    // everything consumed so far; false at end of output or after `timeout`.
    bool WaitForLine(std::string_view text, std::chrono::milliseconds timeout);
    // Sends SIGTERM (SIGKILL after five seconds) and reaps the child; returns its
    // peak resident set size in bytes.
    std::int64_t Stop();

private:
    int m_Pid = -1;
    int m_Output = -1;
    std::string m_Buffer;
    std::size_t m_Consumed = 0;
};

// The built programs, next to the benchmark executable or named by the
// environment (VELMAR_PROGRAM, VELMAR_PLAIN_PROGRAM, VELMAR_BARE_TRAY).
std::string ProgramPath(const char* environmentName, const char* defaultPath);

} // namespace velmar::bench
