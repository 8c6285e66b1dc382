// The reload cycle's two costs against their floors: the idle tick (the files
// are listed and nothing changed) against one statx per entry relative to the
// directory handle, and the tick that reloads (listed once, then read) against
// listing the same way and reading the files with read(2).

#include "app/ChangeSignature.h"
#include "bench/BenchSupport.h"
#include "bench/Floors.h"
#include "common/Paths.h"
#include "profiles/ProfileStore.h"

#include <array>
#include <cstdio>
#include <malloc.h>
#include <optional>
#include <string>
#include <vector>

namespace velmar::bench {
namespace {

void IdleTick(benchmark::State& state) {
    const auto& folder = SharedDataFolder(static_cast<int>(state.range(0)));
    const ChangeSignature last = ReadChangeSignature(folder.Folder);
    for (auto _ : state) {
        const ChangeSignature now = ReadChangeSignature(folder.Folder);
        benchmark::DoNotOptimize(SameSignature(now, last));
    }
    state.counters["files"] = static_cast<double>(last.Files.size());
    SetFloor(state, "IdleTickFloor/" + std::to_string(state.range(0)));
}

void IdleTickFloor(benchmark::State& state) {
    const auto& folder = SharedDataFolder(static_cast<int>(state.range(0)));
    const auto last = ListFloor(folder.ProfilesPath);
    for (auto _ : state) {
        const auto now = ListFloor(folder.ProfilesPath);
        benchmark::DoNotOptimize(now == last);
    }
    state.counters["files"] = static_cast<double>(last.size());
}

// A tick that noticed a change: the folder listed once for the signature,
// and the profiles loaded from that listing.
void Reload(benchmark::State& state) {
    const auto& folder = SharedDataFolder(static_cast<int>(state.range(0)));
    ProfileStore store(folder.Folder);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.LoadAllProfiles(ReadChangeSignature(folder.Folder)).NumberOfProfiles);
    }
    state.counters["profiles"] = store.NumberOfProfiles();
    SetFloor(state, "ReloadFloor/" + std::to_string(state.range(0)));
}

void ReloadFloor(benchmark::State& state) {
    const auto& folder = SharedDataFolder(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadFloor(folder.ProfilesPath, kMaxProfiles));
    }
}

const std::vector<std::int64_t> kFileCounts = {10, 200, 10000};

BENCHMARK(IdleTick)->ArgsProduct({kFileCounts})->Unit(benchmark::kMillisecond);
BENCHMARK(IdleTickFloor)->ArgsProduct({kFileCounts})->Unit(benchmark::kMillisecond);
BENCHMARK(Reload)->ArgsProduct({kFileCounts})->Unit(benchmark::kMillisecond);
BENCHMARK(ReloadFloor)->ArgsProduct({kFileCounts})->Unit(benchmark::kMillisecond);

// The memory of the largest profiles the format allows: `range(0)` profiles whose
// schedules hold 23 x 32,767 periods each (hard links to one 3 MB file, so the
// folder costs no disk). Reported as heap bytes in use after the load.
void LargestSchedules(benchmark::State& state) {
    const int profiles = QuickRun() ? 2 : static_cast<int>(state.range(0));
    ScratchFolder scratch("largest");
    const auto profilesFolder = scratch.Path() / "Profiles";
    std::filesystem::create_directory(profilesFolder);
    WriteLargestProfile(profilesFolder / "Profile_0000.dat");
    for (int i = 1; i < profiles; ++i) {
        std::array<char, 32> name{};
        std::snprintf(name.data(), name.size(), "Profile_%04d.dat", i);
        std::filesystem::create_hard_link(profilesFolder / "Profile_0000.dat", profilesFolder / name.data());
    }
    const DataFolder folder(PathToUtf8(scratch.Path()));
    std::optional<ProfileStore> store;
    double inUse = 0;
    for (auto _ : state) {
        state.PauseTiming();
        store.reset(); // the previous load's schedules go
        malloc_trim(0);
        const auto before = mallinfo2();
        store.emplace(folder);
        state.ResumeTiming();
        benchmark::DoNotOptimize(store->LoadAllProfiles().NumberOfProfiles);
        const auto after = mallinfo2();
        inUse = static_cast<double>(after.uordblks + after.hblkhd) -
                static_cast<double>(before.uordblks + before.hblkhd);
    }
    store.reset();
    malloc_trim(0);
    std::size_t periods = 0;
    periods = static_cast<std::size_t>(profiles) * 23 * 32767;
    state.counters["profiles"] = profiles;
    state.counters["MB"] = inUse / 1e6;
    state.counters["MB_per_profile"] = inUse / 1e6 / profiles;
    state.counters["bytes_per_period"] = inUse / static_cast<double>(periods);
}

BENCHMARK(LargestSchedules)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velmar::bench
