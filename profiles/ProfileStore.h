#pragma once

// The profile store: the profiles of a data folder, loaded from their files
// into two parallel tables of 200 slots and sorted by name, with the problems
// the load met.

#include "common/FixedTable.h"
#include "profiles/DataFolder.h"
#include "profiles/LoadProblem.h"
#include "profiles/ProfileFile.h"
#include "schedule/TimeSchedule.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

struct FolderListing;

constexpr int kMaxProfiles = 200;
// The names of the profile files in the Profiles folder (any letter case).
inline constexpr std::string_view kProfileFilePattern = "Profile_????.dat";

// One load of the profiles of a data folder: what every output of the
// profiles (the window's list and tooltip, the console block, the tool's
// outputs) is made from. Slots 0 to NumberOfProfiles - 1 are valid, in slot
// order: by upper-cased name, stable; slots beyond may hold stale records and
// are never read.
struct ProfileLoad {
    explicit ProfileLoad(DataFolder folder) : Folder(std::move(folder)) {}

    DataFolder Folder; // where the profiles were loaded from
    FixedTable<ProfileRecord, kMaxProfiles> Profiles;
    FixedTable<SchedulePtr, kMaxProfiles> TimeSchedules; // parallel: slot i's schedule
    // Parallel: the file of each slot, "Profile_0007.dat" as found, in any
    // letter case.
    FixedTable<std::string, kMaxProfiles> FileNames;
    std::int16_t NumberOfProfiles = 0;
    // Every problem of the load: the folder's, or the files' in slot order (by
    // file name, not in the order the file system lists them).
    std::vector<LoadProblem> Problems;

    // Whether the Profiles folder could be listed (no problem of its own).
    bool FolderListed() const;
};

// The store of one data folder. A reload overwrites the tables in place; what
// it hands out are views of them, valid until the next load.
class ProfileStore {
public:
    explicit ProfileStore(DataFolder folder) : m_Load(std::move(folder)) {}

    const DataFolder& Folder() const { return m_Load.Folder; }

    // Rebuilds the tables from the files Folder().ProfilesFolder() +
    // "Profile_????.dat" (any letter case, four ASCII digits) and sorts them
    // by upper-cased name, stable. The first 200 loadable files found are
    // loaded; further ones are not read. Every profile file that is not
    // loaded, and a folder that cannot be listed, leaves its problem in the
    // load. Returns the load: its profiles and its problems together.
    const ProfileLoad& LoadAllProfiles();
    // The same from a listing already made of that folder (ListFolder with
    // kProfileFilePattern, as the reload cycle's change signature holds it),
    // so that a reload lists the folder once: the files and the folder's state
    // are taken as the listing found them. A listed file that is gone by the
    // time it is opened is a FileVanished problem; a file that appeared since
    // waits for the next listing.
    const ProfileLoad& LoadAllProfiles(const FolderListing& listing);
    // Loads Profile_NNNN.dat (found in any letter case) into a slot; -1 when
    // loaded, 0 when not (also for a slot outside 0..199). A version-4 file
    // that ends early counts as loaded with what it held. Never throws.
    std::int16_t LoadProfile(std::int16_t ProfileIndex, std::int16_t ProfileNumber);

    // The last load, and its tables by their names.
    const ProfileLoad& Loaded() const { return m_Load; }
    const FixedTable<ProfileRecord, kMaxProfiles>& Profiles() const { return m_Load.Profiles; }
    const FixedTable<SchedulePtr, kMaxProfiles>& TimeSchedules() const { return m_Load.TimeSchedules; }
    std::int16_t NumberOfProfiles() const { return m_Load.NumberOfProfiles; }
    const std::vector<LoadProblem>& Problems() const { return m_Load.Problems; }

private:
    ProfileLoad m_Load;
};

} // namespace velmar
