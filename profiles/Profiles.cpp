#include "profiles/Profiles.h"

#include "common/CodePage.h"
#include "common/FileSystem.h"
#include "platform/BinaryFile.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace velmar {

std::string DataPath;
FixedTable<ProfileRecord, kMaxProfiles> Profiles;
FixedTable<SchedulePtr, kMaxProfiles> TimeSchedules;
std::int16_t NumberOfProfiles = 0;
std::function<void(bool busy)> BusyPointerHandler;

namespace {

constexpr std::string_view kProfileFilePattern = "Profile_????.dat";
constexpr std::size_t kNumberPosition = 8; // 0-based offset of the four digits behind "Profile_"
constexpr std::size_t kProfileFileNameLength = 16;

std::string ReadFileText(BinaryFile& file) {
    return Cp1252ToUtf8(file.ReadText());
}

// A raw block of the record. A block cut off by the end of the file reads as
// zeros, like every other field that was not wholly in the file.
template <std::size_t N> void ReadBlock(BinaryFile& file, std::array<std::uint8_t, N>& block) {
    const auto bytes = file.ReadBytes(N);
    block.fill(0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), N), block.begin());
}

template <std::size_t N> void WriteBlock(BinaryFile& file, const std::array<std::uint8_t, N>& block) {
    file.WriteBytes(std::vector<std::uint8_t>(block.begin(), block.end()));
}

std::string ProfilesFolder() {
    return DataPath + "Profiles" + kPathSeparator;
}

// "0000" followed by the number's decimal text, last four characters: 7 gives
// "0007", 12345 gives "2345", -5 gives "00-5".
std::string FourDigits(std::int16_t number) {
    const std::string text = "0000" + std::to_string(number);
    return text.substr(text.size() - 4);
}

// The profile number of a file name found by the directory search, or nothing
// when the four characters behind "Profile_" are not four ASCII digits. A
// lenient numeric test would read " 1.5" as 2 and then load a different file
// than the one found, so signs, spaces and decimal points do not count.
std::optional<std::int16_t> ProfileNumberOf(std::string_view name) {
    if (name.size() != kProfileFileNameLength) {
        return std::nullopt; // a "?" matched a character of more than one byte
    }
    std::int16_t number = 0;
    for (std::size_t i = kNumberPosition; i < kNumberPosition + 4; ++i) {
        const char c = name[i];
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = static_cast<std::int16_t>(number * 10 + (c - '0'));
    }
    return number;
}

// Loads one file into a slot; the body of LoadProfile once the file's path is
// known. Every step that fails is skipped, as the loader has always done: a file
// that cannot be opened or is too short is not loaded, while a version-4 file
// counts as loaded however early it ends.
std::int16_t LoadProfileFile(std::int16_t ProfileIndex, const std::string& path) {
    if (ProfileIndex < 0 || ProfileIndex >= kMaxProfiles) {
        return 0; // no slot to fill; the tables are never touched beyond their bounds
    }
    TimeSchedules[ProfileIndex].reset();

    std::unique_ptr<BinaryFile> file;
    try {
        file = std::make_unique<BinaryFile>(path, BinaryFile::Mode::Read);
    } catch (...) {
        return 0; // missing, vanished since the search, or unreadable
    }

    std::int16_t result = 0;
    try {
        if (file->Size() >= 2 && file->ReadInt16() == kProfileFormatVersion) {
            result = -1;
            try {
                ReadProfileRecord(*file, Profiles[ProfileIndex]);
            } catch (...) {
                // The fields read so far stay; the schedule is still read.
            }
            try {
                auto schedule = std::make_shared<cTimeSchedule>();
                TimeSchedules[ProfileIndex] = schedule;
                schedule->ReadFromDisk(*file);
            } catch (...) {
                // The schedule keeps what was read before the failure.
            }
        }
    } catch (...) {
        // The version word could not be read: the file is not loaded.
    }

    try {
        file->Close();
    } catch (...) {
        // Nothing was written, so a failing close loses nothing.
    }
    return result;
}

// Shows the busy pointer for the lifetime of the object, and the default
// pointer again however the load ends.
class BusyPointer {
public:
    BusyPointer() { Set(true); }
    ~BusyPointer() { Set(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    static void Set(bool busy) {
        if (BusyPointerHandler) {
            try {
                BusyPointerHandler(busy);
            } catch (...) {
                // A pointer that cannot be changed does not stop the load.
            }
        }
    }
};

} // namespace

void ReadProfileRecord(BinaryFile& file, ProfileRecord& record) {
    // Every field is replaced; starting from a fresh record gives fields that
    // the file no longer holds (or that a failing read left out) defined values.
    record = ProfileRecord{};
    record.Int0 = file.ReadInt16();
    record.Active = file.ReadInt16();
    record.Name = ReadFileText(file);
    ReadBlock(file, record.Bytes1);
    record.Text1 = ReadFileText(file);
    record.Text2 = ReadFileText(file);
    for (auto& text : record.TextList) {
        text = ReadFileText(file);
    }
    ReadBlock(file, record.Bytes2);
    record.Text3 = ReadFileText(file);
    ReadBlock(file, record.Bytes3);
    record.Text4 = ReadFileText(file);
    record.Text5 = ReadFileText(file);
    ReadBlock(file, record.Bytes4);
}

void WriteProfileRecord(BinaryFile& file, const ProfileRecord& record) {
    file.WriteInt16(record.Int0);
    file.WriteInt16(record.Active);
    file.WriteText(Utf8ToCp1252(record.Name));
    WriteBlock(file, record.Bytes1);
    file.WriteText(Utf8ToCp1252(record.Text1));
    file.WriteText(Utf8ToCp1252(record.Text2));
    for (const auto& text : record.TextList) {
        file.WriteText(Utf8ToCp1252(text));
    }
    WriteBlock(file, record.Bytes2);
    file.WriteText(Utf8ToCp1252(record.Text3));
    WriteBlock(file, record.Bytes3);
    file.WriteText(Utf8ToCp1252(record.Text4));
    file.WriteText(Utf8ToCp1252(record.Text5));
    WriteBlock(file, record.Bytes4);
}

std::int16_t LoadProfile(std::int16_t ProfileIndex, std::int16_t ProfileNumber) {
    try {
        const std::string folder = ProfilesFolder();
        const std::string name = "Profile_" + FourDigits(ProfileNumber) + ".dat";
        std::string path = folder + name;
        // File names are matched without regard to letter case, as on Windows:
        // on a case-sensitive file system PROFILE_0007.DAT is profile 7 as well.
        if (!FileExists(path)) {
            const auto found = ListFiles(folder, name);
            if (!found.empty()) {
                path = folder + found.front().Name;
            }
        }
        return LoadProfileFile(ProfileIndex, path);
    } catch (...) {
        return 0;
    }
}

std::int16_t LoadAllProfiles() {
    const BusyPointer busy;

    for (auto& schedule : TimeSchedules) {
        schedule.reset();
    }
    NumberOfProfiles = 0;

    const std::string folder = ProfilesFolder();
    for (const auto& entry : ListFiles(folder, kProfileFilePattern)) {
        if (NumberOfProfiles >= kMaxProfiles) {
            break; // the table is full: further files are ignored
        }
        if (!ProfileNumberOf(entry.Name)) {
            continue;
        }
        // The file found is opened by its own name, whatever its letter case.
        if (LoadProfileFile(NumberOfProfiles, folder + entry.Name) != 0) {
            ++NumberOfProfiles;
        }
    }

    // Bubble sort by upper-cased name. Byte-wise comparison of UTF-8 texts is
    // code-point order, so Ä (U+00C4) comes before Å (U+00C5) and Ö (U+00D6):
    // no language's collation applies. Equal names are never exchanged, which
    // keeps them in the order their files were found.
    const auto count = static_cast<std::size_t>(NumberOfProfiles);
    std::vector<std::string> keys(count);
    for (std::size_t i = 0; i < count; ++i) {
        keys[i] = Utf8ToUpper(Profiles[static_cast<long long>(i)].Name);
    }
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (std::size_t j = 0; j + 1 < count; ++j) {
            if (keys[j] > keys[j + 1]) {
                const auto a = static_cast<long long>(j);
                std::swap(keys[j], keys[j + 1]);
                std::swap(Profiles[a], Profiles[a + 1]);
                std::swap(TimeSchedules[a], TimeSchedules[a + 1]);
                exchanged = true;
            }
        }
    }

    return NumberOfProfiles;
}

} // namespace velmar
