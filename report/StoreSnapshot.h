#pragma once

// The one place that reads the profile store's tables into a ReloadSnapshot.
// Everything else of report/ takes snapshots, never the store.

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

// The profile store as the last LoadAllProfiles left it (DataPath, the valid
// slots, their file names and the load's problems), with `timing`.
ReloadSnapshot SnapshotOfLastLoad(const LoadTiming& timing);

// Loads the profiles of `dataPath` (ending in the folder separator) once and
// takes the snapshot of that load, its one reload. Sets DataPath.
ReloadSnapshot LoadSnapshotOnce(const std::string& dataPath);

// Seconds since 1970-01-01 00:00 UTC, with their fraction.
double SecondsSinceEpoch(std::chrono::system_clock::time_point time);

} // namespace velmar
