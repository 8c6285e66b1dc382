#pragma once

// The profile store: the record of a profile file, the two parallel tables of
// 200 slots and the loading of every profile file under DataPath.

#include "common/FixedTable.h"
#include "schedule/TimeSchedule.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

class BinaryFile;
class IBusyPointer;
struct FolderListing;

constexpr std::int16_t kProfileFormatVersion = 4;
constexpr int kMaxProfiles = 200;
// The names of the profile files in the Profiles folder (any letter case).
inline constexpr std::string_view kProfileFilePattern = "Profile_????.dat";

// One profile as stored in its file, fields in file order. Only Active and Name
// mean anything to this program; the rest is carried as read. Texts are UTF-8
// here and code page 1252 bytes in the file.
struct ProfileRecord {
    std::int16_t Int0 = 0;
    std::int16_t Active = 0; // non-zero: the profile is active now
    std::string Name;
    std::array<std::uint8_t, 12> Bytes1{};
    std::string Text1;
    std::string Text2;
    std::array<std::string, 6> TextList;
    std::array<std::uint8_t, 6> Bytes2{};
    std::string Text3;
    std::array<std::uint8_t, 4> Bytes3{};
    std::string Text4;
    std::string Text5;
    std::array<std::uint8_t, 130> Bytes4{};

    bool operator==(const ProfileRecord&) const = default;
};

// Reads a record from a file positioned just behind the format version; leaves
// the file at the first byte of the schedule record. A file that ends inside the
// record gives 0 and empty texts for the fields that were not in it.
void ReadProfileRecord(BinaryFile& file, ProfileRecord& record);
// Writes a record in the same layout (for tools and tests; the program never writes).
void WriteProfileRecord(BinaryFile& file, const ProfileRecord& record);

// The data folder, ending in the platform's folder separator. Set once at start.
extern std::string DataPath;

extern FixedTable<ProfileRecord, kMaxProfiles> Profiles;
extern FixedTable<SchedulePtr, kMaxProfiles> TimeSchedules;
extern std::int16_t NumberOfProfiles;

// The file name of each valid slot ("Profile_0007.dat" as found, in any
// letter case), parallel to Profiles and sorted with it.
extern FixedTable<std::string, kMaxProfiles> ProfileFileNames;

// What kept a load from showing a profile of the folder, or the folder at all.
enum class LoadProblemKind {
    FolderMissing,    // the Profiles folder does not exist
    FolderNotAFolder, // its path names something that is not a folder
    FolderUnreadable, // it cannot be listed; Reason says why
    FileUnreadable,   // a profile file could not be opened or read; Reason says why
    FileVanished,     // a profile file of the listing was gone when it was to be opened
    NotAFile,         // a folder, FIFO or device is named like a profile
    WrongVersion,     // skipped for its format version; Reason is the version found
    TooShort,         // skipped: too short to hold a format version
    BeyondSlots,      // skipped: the 200 slots were full
};

struct LoadProblem {
    LoadProblemKind Kind = LoadProblemKind::FileUnreadable;
    std::string File;   // the file's name, or the folder's path for the folder's problems
    std::string Reason; // the system's words ("permission denied"), or the version found

    bool operator==(const LoadProblem&) const = default;
};

// The problems the last LoadAllProfiles met, in the order it met them: the
// folder's first, then the files' in the order they were found.
extern std::vector<LoadProblem> LoadProblems;

// One problem as a line for the user: "Profile_0002.dat: permission denied",
// "Profiles folder not found: /srv/alarm/Project/Profiles/".
std::string ProblemText(const LoadProblem& problem);
// The lines of a list of problems. More than five of one kind are summed up
// after the fifth in one line ("9795 more files beyond the 200 slots"), so
// that a folder of 10,000 files still gives a readable list.
std::vector<std::string> ProblemLines(const std::vector<LoadProblem>& problems);

// Rebuilds the tables from the files DataPath + "Profiles" + separator +
// "Profile_????.dat" (any letter case, four ASCII digits) and sorts them by
// upper-cased name, stable; returns the new NumberOfProfiles. The first 200
// loadable files found are loaded; further ones are not read. Every profile
// file that is not loaded, and a folder that cannot be listed, leaves its
// problem in LoadProblems. Shows `busyPointer` (when given) busy meanwhile.
std::int16_t LoadAllProfiles(IBusyPointer* busyPointer = nullptr);
// The same from a listing already made of that folder (ListFolder with
// kProfileFilePattern, as the reload cycle's change signature holds it), so
// that a reload lists the folder once: the files and the folder's state are
// taken as the listing found them. A listed file that is gone by the time it
// is opened is a FileVanished problem; a file that appeared since waits for
// the next listing.
std::int16_t LoadAllProfiles(const FolderListing& listing, IBusyPointer* busyPointer = nullptr);
// Loads Profile_NNNN.dat (found in any letter case) into a slot; -1 when
// loaded, 0 when not (also for a slot outside 0..199). A version-4 file that
// ends early counts as loaded with what it held. Never throws.
std::int16_t LoadProfile(std::int16_t ProfileIndex, std::int16_t ProfileNumber);

} // namespace velmar
