// Whole processes: the console front end from exec to its first block and the
// desktop front end from exec to its tray icon drawn, each beside the least a
// program of its kind costs (a plain C++ program that lists the same folder, a
// bare Qt 6 tray program);
// and with 100,000 files in the folder, how long until a change shows.
//
// Only what the user starts is timed: "velmar-active-profiles" may be one
// executable or a launcher that execs another, and the tray icon is found in
// the system tray whatever process drew it.

#include "bench/BenchSupport.h"
#include "bench/TrayWatch.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace velmar::bench {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The reload cycle waits this long between noticing a change and reading the
// files, to let the server finish writing; it is part of the cycle by design,
// so the start-up figures are given without it as well.
constexpr double kReloadWaitSeconds = 0.5;

std::string MainProgram() {
    return ProgramPath("VELMAR_PROGRAM", VELMAR_PROGRAM_PATH);
}

std::string DataArgument(const std::string& dataPath) {
    return "/PATH:" + dataPath;
}

// Exec to the first line that starts with `firstLine`, without a display.
void TimeConsoleStart(benchmark::State& state, const std::string& program,
                      const std::vector<std::string>& args, double deductSeconds) {
    double peakBytes = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        ChildProcess child(program, args, false, true);
        if (!child.WaitForLine("== ", milliseconds(20000))) {
            state.SkipWithError(("no block from " + program).c_str());
            break;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(std::max(seconds - deductSeconds, 0.0));
        peakBytes = std::max(peakBytes, static_cast<double>(child.Stop()));
    }
    state.counters["rss_MB"] = peakBytes / 1e6;
}

void ConsoleStartup(benchmark::State& state) {
    TimeConsoleStart(state, MainProgram(), {DataArgument(ExampleDataFolder().string() + "/")},
                     kReloadWaitSeconds);
    SetFloor(state, "PlainProgramStartup", Measure::Wall);
}

// The same folder as the front end's.
void PlainProgramStartup(benchmark::State& state) {
    TimeConsoleStart(state, ProgramPath("VELMAR_PLAIN_PROGRAM", VELMAR_PLAIN_PROGRAM_PATH),
                     {DataArgument(ExampleDataFolder().string() + "/")}, 0);
}

void TimeTrayStart(benchmark::State& state, const std::string& program,
                   const std::vector<std::string>& args) {
    TrayWatch tray;
    if (!tray.Ready()) {
        state.SkipWithError("needs a display with a system tray (scripts/bench.sh starts Xvfb and trayer)");
        return;
    }
    for (auto _ : state) {
        if (!tray.WaitUntilEmpty(milliseconds(10000))) {
            state.SkipWithError("an icon is already in the system tray");
            break;
        }
        const auto start = Clock::now();
        ChildProcess child(program, args, true, false);
        if (!tray.WaitForDrawnIcon(milliseconds(20000))) {
            state.SkipWithError(("no icon drawn by " + program).c_str());
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        child.Stop();
    }
}

void DesktopStartup(benchmark::State& state) {
    TimeTrayStart(state, MainProgram(), {DataArgument(ExampleDataFolder().string() + "/")});
    SetFloor(state, "BareTrayStartup", Measure::Wall);
}

void BareTrayStartup(benchmark::State& state) {
    TimeTrayStart(state, ProgramPath("VELMAR_BARE_TRAY", VELMAR_BARE_TRAY_PATH), {});
}

// 200 profiles among 100,000 files: the console front end is started, and
// right after its first block one profile is rewritten. Measured until the
// block that shows the change; the floor is a tick and a half (7.5 s).
void ChangeShowsInLargeFolder(benchmark::State& state) {
    const int files = QuickRun() ? 2000 : static_cast<int>(state.range(0));
    const auto& folder = SharedDataFolder(200, files - 200);
    const std::filesystem::path changed = folder.ProfilesPath + "Profile_0007.dat";
    for (auto _ : state) {
        ChildProcess child(MainProgram(), {DataArgument(folder.Folder.DataPath())}, false, true);
        if (!child.WaitForLine("== ", milliseconds(60000))) {
            state.SkipWithError("no first block");
            break;
        }
        {
            // Append a byte: size and modification time change, the profile still loads.
            std::ofstream out(changed, std::ios::binary | std::ios::app);
            out.put('\0');
        }
        const auto start = Clock::now();
        if (!child.WaitForLine("== ", milliseconds(60000))) {
            state.SkipWithError("the change never showed");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        child.Stop();
    }
    state.counters["files"] = files;
    SetBudget(state, 7500, Measure::Wall);
}

BENCHMARK(ConsoleStartup)->UseManualTime()->Iterations(QuickRun() ? 2 : 10)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainProgramStartup)
    ->UseManualTime()
    ->Iterations(QuickRun() ? 2 : 10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(DesktopStartup)->UseManualTime()->Iterations(QuickRun() ? 2 : 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BareTrayStartup)->UseManualTime()->Iterations(QuickRun() ? 2 : 5)->Unit(benchmark::kMillisecond);
BENCHMARK(ChangeShowsInLargeFolder)
    ->Arg(100000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velmar::bench
