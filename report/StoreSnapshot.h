#pragma once

// The one place that reads a load of the profile store into a
// ReloadSnapshot. The monitoring outputs take snapshots, never the store.

#include "profiles/ProfileStore.h"
#include "report/ReloadSnapshot.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace velmar {

// When and how long a load ran, and how many loads there were.
struct LoadTiming {
    std::chrono::system_clock::time_point End;
    std::chrono::steady_clock::duration Duration{};
    std::uint64_t Reloads = 0;
};

// A load (its folder, the valid slots with their file names, its problems)
// with `timing`.
ReloadSnapshot SnapshotOfLoad(const ProfileLoad& load, const LoadTiming& timing);

// Loads the profiles of `folder` once and takes the snapshot of that load,
// its one reload.
ReloadSnapshot LoadSnapshotOnce(const DataFolder& folder);

// Seconds since 1970-01-01 00:00 UTC, with their fraction.
double SecondsSinceEpoch(std::chrono::system_clock::time_point time);

} // namespace velmar
