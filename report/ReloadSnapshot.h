#pragma once

// What one reload of the profiles found, as the monitoring outputs read it
// (the Prometheus metrics, the check for Nagios-compatible systems, the
// event stream): a plain value made after every reload that refers to
// nothing in the profile store, so that it may be kept, compared with the
// next one and handed to another thread.

#include "profiles/LoadProblem.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// One loaded profile.
struct ProfileState {
    std::string File; // its file in the Profiles folder, as found ("Profile_0007.dat")
    std::string Name; // UTF-8, converted from the file's code page 1252
    bool Active = false;

    bool operator==(const ProfileState&) const = default;
};

struct ReloadSnapshot {
    std::string Folder;                 // the data folder, as the program names it
    std::vector<ProfileState> Profiles; // in slot order: sorted by upper-cased name
    std::vector<LoadProblem> Problems;  // every problem of the load, in the load's order
    double ReloadTime = 0;              // when the load ended: seconds since 1970-01-01 00:00 UTC
    double ReloadDuration = 0;          // seconds the load took
    std::uint64_t Reloads = 0;          // loads since the program started, this one included

    // Whether the Profiles folder could be listed: none of the folder's
    // problems (missing, not a folder, unreadable) is among Problems.
    bool FolderReadable() const;
};

// Every kind of problem, in the order of their declaration.
inline constexpr std::array<LoadProblemKind, 9> kAllProblemKinds{
    LoadProblemKind::FolderMissing,  LoadProblemKind::FolderNotAFolder, LoadProblemKind::FolderUnreadable,
    LoadProblemKind::FileUnreadable, LoadProblemKind::FileVanished,     LoadProblemKind::NotAFile,
    LoadProblemKind::WrongVersion,   LoadProblemKind::TooShort,         LoadProblemKind::BeyondSlots,
};

// The kind's name in every machine-readable output is ProblemKindName of
// report/ProfileList.h ("folderMissing", "fileUnreadable", ...), as
// `velmar-profiles list --json` writes it.

} // namespace velmar
