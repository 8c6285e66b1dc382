#include "report/StoreSnapshot.h"

namespace velmar {

double SecondsSinceEpoch(std::chrono::system_clock::time_point time) {
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

ReloadSnapshot SnapshotOfLoad(const ProfileLoad& load, const LoadTiming& timing) {
    ReloadSnapshot snapshot;
    snapshot.Folder = load.Folder.DataPath();
    snapshot.Profiles.reserve(static_cast<std::size_t>(load.NumberOfProfiles));
    for (std::int16_t i = 0; i < load.NumberOfProfiles; ++i) {
        snapshot.Profiles.push_back({load.FileNames[i], load.Profiles[i].Name, load.Profiles[i].Active != 0});
    }
    snapshot.Problems = load.Problems;
    snapshot.ReloadTime = SecondsSinceEpoch(timing.End);
    snapshot.ReloadDuration = std::chrono::duration<double>(timing.Duration).count();
    snapshot.Reloads = timing.Reloads;
    return snapshot;
}

ReloadSnapshot LoadSnapshotOnce(const DataFolder& folder) {
    ProfileStore store(folder);
    const auto start = std::chrono::steady_clock::now();
    const ProfileLoad& load = store.LoadAllProfiles();
    const auto duration = std::chrono::steady_clock::now() - start;
    return SnapshotOfLoad(load, {std::chrono::system_clock::now(), duration, 1});
}

} // namespace velmar
