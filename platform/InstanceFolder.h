#pragma once

// Where the desktop front end keeps its single-instance lock and socket: only
// in a folder that no other user can enter, so that nobody can squat the
// names and stop the program from starting (one source per platform,
// InstanceFolderPosix.cpp and InstanceFolderWindows.cpp).

#include "platform/Process.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmar {

struct InstanceFolder {
    std::string Path;    // the folder; empty when none can be used
    std::string Problem; // when none can: why not, for one line of the program's
};

// The first usable folder of these, in this order. On POSIX the runtime
// folder (XDG_RUNTIME_DIR, absolute), then the program's own folder
// "velmar-active-profiles" under the cache folder (XDG_CACHE_HOME, else
// ~/.cache), created with mode 0700 when missing. On Windows the program's
// own folder under the user's local application data (LOCALAPPDATA).
InstanceFolder ChooseInstanceFolder(const EnvironmentLookup& environment = ProcessEnvironment);

// Why `folder` may not hold the lock and socket; empty when it may. On POSIX
// it must be a folder, not a symbolic link, the user's own, writable, and
// closed to everyone else (no group or other permission bits); on Windows a
// folder that is no link (a reparse point).
std::string InstanceFolderProblem(const std::string& folder);

// Whether the process at the other end of a connected local socket (its
// descriptor; on Windows the pipe's handle) runs as this user. False when
// the system cannot tell.
bool PeerIsCurrentUser(std::intptr_t socket);

// One place to look, for ChooseInstanceFolder: a folder to check (created
// first when `Create`), or a reason why there is none ("XDG_RUNTIME_DIR is
// not set").
struct InstanceFolderCandidate {
    std::string Path;
    bool Create = false;
    std::string Missing;
};
std::vector<InstanceFolderCandidate> InstanceFolderCandidates(const EnvironmentLookup& environment);
// Creates a folder (and its parent, when missing) that only the user may
// enter; empty when it exists afterwards, else why not.
std::string CreatePrivateFolder(const std::string& folder);

} // namespace velmar
