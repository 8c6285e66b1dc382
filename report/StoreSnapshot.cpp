#include "report/StoreSnapshot.h"

#include "profiles/Profiles.h"

namespace velmar {

double SecondsSinceEpoch(std::chrono::system_clock::time_point time) {
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

ReloadSnapshot SnapshotOfLastLoad(const LoadTiming& timing) {
    ReloadSnapshot snapshot;
    snapshot.Folder = DataPath;
    snapshot.Profiles.reserve(static_cast<std::size_t>(NumberOfProfiles));
    for (std::int16_t i = 0; i < NumberOfProfiles; ++i) {
        snapshot.Profiles.push_back({ProfileFileNames[i], Profiles[i].Name, Profiles[i].Active != 0});
    }
    snapshot.Problems = LoadProblems;
    snapshot.ReloadTime = SecondsSinceEpoch(timing.End);
    snapshot.ReloadDuration = std::chrono::duration<double>(timing.Duration).count();
    snapshot.Reloads = timing.Reloads;
    return snapshot;
}

ReloadSnapshot LoadSnapshotOnce(const std::string& dataPath) {
    DataPath = dataPath;
    const auto start = std::chrono::steady_clock::now();
    LoadAllProfiles();
    const auto duration = std::chrono::steady_clock::now() - start;
    return SnapshotOfLastLoad({std::chrono::system_clock::now(), duration, 1});
}

} // namespace velmar
