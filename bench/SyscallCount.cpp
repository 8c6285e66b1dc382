// velmar-bench-syscalls MODE FILES ROUNDS: one round of the tick or the reload
// (MODE tick, tick-floor, reload, reload-floor) on a folder of FILES profile
// files, then ROUNDS more between two marker calls. Run under strace, the calls
// between the markers divided by ROUNDS are the system calls of one round:
//   strace -f -qq -o LOG velmar-bench-syscalls tick 200 10
// (scripts/bench.sh does this). The markers are faccessat calls on
// "velmar-bench-begin" and "velmar-bench-end".

#include "app/ChangeSignature.h"
#include "bench/BenchSupport.h"
#include "bench/Floors.h"
#include "profiles/ProfileStore.h"

#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <iostream>
#include <string>
#include <string_view>
#include <unistd.h>

int main(int argc, char** argv) {
    using namespace velmar;
    if (argc != 4) {
        std::cerr << "usage: velmar-bench-syscalls tick|tick-floor|reload|reload-floor FILES ROUNDS\n";
        return 2;
    }
    const std::string_view mode = argv[1];
    const int files = std::atoi(argv[2]);
    const int rounds = std::atoi(argv[3]);
    const auto& folder = bench::SharedDataFolder(files);
    ProfileStore store(folder.Folder);
    const ChangeSignature last = ReadChangeSignature(folder.Folder);
    std::function<void()> round;
    if (mode == "tick") {
        round = [&] { static_cast<void>(SameSignature(ReadChangeSignature(folder.Folder), last)); };
    } else if (mode == "tick-floor") {
        round = [&] { static_cast<void>(bench::ListFloor(folder.ProfilesPath)); };
    } else if (mode == "reload") {
        round = [&] { static_cast<void>(store.LoadAllProfiles(ReadChangeSignature(folder.Folder))); };
    } else if (mode == "reload-floor") {
        round = [&] { static_cast<void>(bench::ReadFloor(folder.ProfilesPath, kMaxProfiles)); };
    } else {
        std::cerr << "velmar-bench-syscalls: unknown mode " << mode << '\n';
        return 2;
    }
    round(); // first use: caches, allocations and lazy initialisation stay out of the count
    faccessat(AT_FDCWD, "velmar-bench-begin", F_OK, 0);
    for (int i = 0; i < rounds; ++i) {
        round();
    }
    faccessat(AT_FDCWD, "velmar-bench-end", F_OK, 0);
    return 0;
}
