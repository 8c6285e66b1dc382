#pragma once

// The profile store: the record of a profile file, the two parallel tables of
// 200 slots and the loading of every profile file under DataPath.

#include "common/FixedTable.h"
#include "schedule/TimeSchedule.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace velmar {

class BinaryFile;

constexpr std::int16_t kProfileFormatVersion = 4;
constexpr int kMaxProfiles = 200;

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

// Rebuilds the tables from the files DataPath + "Profiles" + separator +
// "Profile_????.dat" (any letter case, four ASCII digits) and sorts them by
// upper-cased name, stable; returns the new NumberOfProfiles. The first 200
// loadable files found are loaded and any further ones ignored.
std::int16_t LoadAllProfiles();
// Loads Profile_NNNN.dat (found in any letter case) into a slot; -1 when
// loaded, 0 when not (also for a slot outside 0..199). A version-4 file that
// ends early counts as loaded with what it held. Never throws.
std::int16_t LoadProfile(std::int16_t ProfileIndex, std::int16_t ProfileNumber);

// Called with true before and false after a load, to show the busy pointer.
extern std::function<void(bool busy)> BusyPointerHandler;

} // namespace velmar
