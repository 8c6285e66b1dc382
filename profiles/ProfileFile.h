#pragma once

// The profile file: its format version, the profile record and the time
// schedule record that follows it. This is the one reader of a profile file:
// the monitor's load, the editor's open and the tool all read through it.

#include "schedule/TimeSchedule.h"

#include <array>
#include <cstdint>
#include <string>

namespace velmar {

class BinaryFile;

constexpr std::int16_t kProfileFormatVersion = 4;

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

struct ProfileFileContents {
    std::uint64_t Size = 0; // bytes
    std::int16_t FormatVersion = 0;
    ProfileRecord Record;
    SchedulePtr Schedule; // never null once read
    // False when the file ends inside the record or the schedule: the fields
    // that were not in the file are 0 and empty, as the loader reads them.
    bool RecordComplete = false;
    bool ScheduleComplete = false;
    std::uint64_t ScheduleStart = 0; // offset of the schedule record
    std::uint64_t ScheduleEnd = 0;   // offset just behind what was read of it
};

// What a file turned out to be.
enum class ProfileFileFormat {
    Readable,     // the format version this program reads: Contents hold the profile
    TooShort,     // shorter than the 2-byte format version
    OtherVersion, // another format version (Contents.FormatVersion)
};

struct ProfileFileRead {
    ProfileFileFormat Format = ProfileFileFormat::Readable;
    // Size and FormatVersion always; the record and the schedule when Readable.
    ProfileFileContents Contents;
};

// Reads a profile file. FileError, naming the file and the system's reason,
// when it cannot be opened or a read fails: a read that fails is no early end,
// so that a failing disk never shows a profile made of zeros. A version-4 file
// that ends early is Readable with what it held.
ProfileFileRead ReadProfile(const std::string& path);

// The same for a caller that needs the profile: FileError also when the file
// is shorter than its 2-byte format version, or when that version is not the
// one the program reads; the message names the file.
ProfileFileContents ReadProfileFile(const std::string& path);

} // namespace velmar
