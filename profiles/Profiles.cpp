#include "profiles/Profiles.h"

#include "common/CodePage.h"
#include "common/Errors.h"
#include "common/Paths.h"
#include "platform/BinaryFile.h"
#include "platform/FileSystem.h"
#include "platform/SystemError.h"
#include "platform/Timer.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace velmar {

std::string DataPath;
FixedTable<ProfileRecord, kMaxProfiles> Profiles;
FixedTable<SchedulePtr, kMaxProfiles> TimeSchedules;
std::int16_t NumberOfProfiles = 0;
FixedTable<std::string, kMaxProfiles> ProfileFileNames;
std::vector<LoadProblem> LoadProblems;

namespace {

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

// What became of one profile file.
struct FileOutcome {
    std::int16_t Result = 0; // -1 loaded, 0 not
    std::optional<LoadProblem> Problem;
};

std::string FileNameOf(const std::string& path) {
    return path.substr(path.find_last_of(kPathSeparator) + 1);
}

LoadProblem UnreadableFile(const std::string& path, const FileError& error) {
    return {LoadProblemKind::FileUnreadable, FileNameOf(path),
            error.Reason().empty() ? std::string(error.what()) : error.Reason()};
}

// Loads one file into a slot; the body of LoadProfile once the file's path is
// known. Every step that fails is skipped: a file that cannot be opened or is
// too short is not loaded, while a version-4 file counts as loaded however
// early it ends. A read that fails is no early end: the file is not loaded,
// so that a failing disk never shows a profile made of zeros.
FileOutcome LoadProfileFile(std::int16_t ProfileIndex, const std::string& path) {
    if (ProfileIndex < 0 || ProfileIndex >= kMaxProfiles) {
        return {}; // no slot to fill; the tables are never touched beyond their bounds
    }
    TimeSchedules[ProfileIndex].reset();

    std::unique_ptr<BinaryFile> file;
    try {
        file = std::make_unique<BinaryFile>(path, BinaryFile::Mode::Read);
    } catch (const FileError& error) {
        if (IsNoSuchFile(error.Code())) {
            // Listed, and gone (deleted or renamed) before it could be opened.
            return {0, LoadProblem{LoadProblemKind::FileVanished, FileNameOf(path), {}}};
        }
        return {0, UnreadableFile(path, error)}; // refused, or no file
    } catch (...) {
        return {};
    }

    FileOutcome outcome;
    try {
        if (file->Size() < 2) {
            outcome.Problem = LoadProblem{LoadProblemKind::TooShort, FileNameOf(path), {}};
        } else if (const std::int16_t version = file->ReadInt16(); version != kProfileFormatVersion) {
            outcome.Problem =
                LoadProblem{LoadProblemKind::WrongVersion, FileNameOf(path), std::to_string(version)};
        } else {
            outcome.Result = -1;
            try {
                ReadProfileRecord(*file, Profiles[ProfileIndex]);
                auto schedule = std::make_shared<cTimeSchedule>();
                TimeSchedules[ProfileIndex] = schedule;
                schedule->ReadFromDisk(*file);
            } catch (const FileError&) {
                throw; // a read that failed: the file is not loaded
            } catch (...) {
                // The fields and the schedule keep what was read before the failure.
            }
        }
    } catch (const FileError& error) {
        TimeSchedules[ProfileIndex].reset();
        outcome = {0, UnreadableFile(path, error)};
    } catch (...) {
        // The version word could not be read: the file is not loaded.
        outcome = {};
    }

    try {
        file->Close();
    } catch (...) {
        // Nothing was written, so a failing close loses nothing.
    }
    return outcome;
}

// Shows the busy pointer for the lifetime of the object, and the default
// pointer again however the load ends.
class BusyPointer {
public:
    explicit BusyPointer(IBusyPointer* pointer) : m_Pointer(pointer) { Set(true); }
    ~BusyPointer() { Set(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    void Set(bool busy) {
        if (m_Pointer != nullptr) {
            try {
                m_Pointer->SetBusy(busy);
            } catch (...) {
                // A pointer that cannot be changed does not stop the load.
            }
        }
    }

    IBusyPointer* m_Pointer;
};

// The problem of a Profiles folder that could not be listed, if any.
std::optional<LoadProblem> FolderProblem(const FolderListing& listing, const std::string& folder) {
    switch (listing.State) {
    case FolderState::Listed:
        return std::nullopt;
    case FolderState::Missing:
        return LoadProblem{LoadProblemKind::FolderMissing, folder, listing.Reason};
    case FolderState::NotAFolder:
        return LoadProblem{LoadProblemKind::FolderNotAFolder, folder, listing.Reason};
    case FolderState::Unreadable:
        break;
    }
    return LoadProblem{LoadProblemKind::FolderUnreadable, folder, listing.Reason};
}

// The line that sums up the problems of a kind beyond the fifth.
std::string SummaryLine(LoadProblemKind kind, std::size_t count) {
    const std::string more = std::to_string(count) + " more ";
    switch (kind) {
    case LoadProblemKind::FileUnreadable:
        return more + "files that could not be read";
    case LoadProblemKind::FileVanished:
        return more + "files gone before they could be read";
    case LoadProblemKind::NotAFile:
        return more + "entries named like profiles that are no regular files";
    case LoadProblemKind::WrongVersion:
        return more + "files of another format version";
    case LoadProblemKind::TooShort:
        return more + "files too short to hold a format version";
    case LoadProblemKind::BeyondSlots:
        return more + "files beyond the " + std::to_string(kMaxProfiles) + " slots";
    default:
        return more + "problems with the Profiles folder";
    }
}

// Orders the valid slots by upper-cased name, as passes of exchanges of
// neighbours would (a bubble sort that never exchanges equal names): the
// result is the stable order, so equal names keep the order in which their
// files were found. Byte-wise comparison of UTF-8 texts is code-point order,
// so Ä (U+00C4) comes before Å (U+00C5) and Ö (U+00D6): no language's
// collation applies. The slot numbers are sorted, then each table is put in
// that order once, so that no record is copied more than once.
void SortByName() {
    const auto count = static_cast<std::size_t>(NumberOfProfiles);
    std::vector<std::string> keys(count);
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i) {
        keys[i] = Utf8ToUpper(Profiles[static_cast<long long>(i)].Name);
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    if (std::is_sorted(order.begin(), order.end())) {
        return;
    }
    const auto arrange = [&order, count](auto& table) {
        using Value = std::decay_t<decltype(table[0])>;
        std::vector<Value> sorted;
        sorted.reserve(count);
        for (const std::size_t from : order) {
            sorted.push_back(std::move(table[static_cast<long long>(from)]));
        }
        for (std::size_t i = 0; i < count; ++i) {
            table[static_cast<long long>(i)] = std::move(sorted[i]);
        }
    };
    arrange(Profiles);
    arrange(TimeSchedules);
    arrange(ProfileFileNames);
}

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

std::string ProblemText(const LoadProblem& problem) {
    switch (problem.Kind) {
    case LoadProblemKind::FolderMissing:
        return "Profiles folder not found: " + problem.File;
    case LoadProblemKind::FolderNotAFolder:
        return "Profiles folder is not a folder: " + problem.File;
    case LoadProblemKind::FolderUnreadable:
        return "Profiles folder cannot be listed (" + problem.Reason + "): " + problem.File;
    case LoadProblemKind::FileUnreadable:
    case LoadProblemKind::NotAFile:
        return problem.File + ": " + problem.Reason;
    case LoadProblemKind::FileVanished:
        return problem.File + ": gone before it could be read";
    case LoadProblemKind::WrongVersion:
        return problem.File + ": format version " + problem.Reason + ", not " +
               std::to_string(kProfileFormatVersion);
    case LoadProblemKind::TooShort:
        return problem.File + ": too short to hold a format version";
    case LoadProblemKind::BeyondSlots:
        return problem.File + ": beyond the " + std::to_string(kMaxProfiles) + " slots";
    }
    return problem.File + ": " + problem.Reason;
}

std::vector<std::string> ProblemLines(const std::vector<LoadProblem>& problems) {
    constexpr std::size_t kShownPerKind = 5;
    std::map<LoadProblemKind, std::size_t> total;
    for (const auto& problem : problems) {
        ++total[problem.Kind];
    }
    std::vector<std::string> lines;
    std::map<LoadProblemKind, std::size_t> seen;
    for (const auto& problem : problems) {
        const std::size_t number = ++seen[problem.Kind];
        if (number <= kShownPerKind) {
            lines.push_back(ProblemText(problem));
        } else if (number == kShownPerKind + 1) {
            lines.push_back(SummaryLine(problem.Kind, total[problem.Kind] - kShownPerKind));
        }
    }
    return lines;
}

std::int16_t LoadProfile(std::int16_t ProfileIndex, std::int16_t ProfileNumber) {
    try {
        const std::string folder = ProfilesFolder();
        const std::string name = "Profile_" + FourDigits(ProfileNumber) + ".dat";
        std::string path = folder + name;
        FileOutcome outcome = LoadProfileFile(ProfileIndex, path);
        // File names are matched without regard to letter case, as on Windows:
        // on a case-sensitive file system PROFILE_0007.DAT is profile 7 as
        // well. Only a name that is not there as written costs a search.
        if (outcome.Problem && outcome.Problem->Kind == LoadProblemKind::FileVanished) {
            const auto found = ListFiles(folder, name);
            if (!found.empty()) {
                path = folder + found.front().Name;
                outcome = LoadProfileFile(ProfileIndex, path);
            }
        }
        if (outcome.Result != 0) {
            ProfileFileNames[ProfileIndex] = FileNameOf(path);
        }
        return outcome.Result;
    } catch (...) {
        return 0;
    }
}

std::int16_t LoadAllProfiles(IBusyPointer* busyPointer) {
    const BusyPointer busy(busyPointer);
    return LoadAllProfiles(ListFolder(ProfilesFolder(), kProfileFilePattern), nullptr);
}

std::int16_t LoadAllProfiles(const FolderListing& listing, IBusyPointer* busyPointer) {
    const BusyPointer busy(busyPointer);

    for (auto& schedule : TimeSchedules) {
        schedule.reset();
    }
    NumberOfProfiles = 0;
    LoadProblems.clear();

    const std::string folder = ProfilesFolder();
    if (auto problem = FolderProblem(listing, folder)) {
        LoadProblems.push_back(std::move(*problem));
    }
    for (const auto& entry : listing.Files) {
        if (!ProfileNumberOf(entry.Name)) {
            continue;
        }
        if (NumberOfProfiles >= kMaxProfiles) {
            // The table is full: the file is not read, but it is not forgotten.
            LoadProblems.push_back({LoadProblemKind::BeyondSlots, entry.Name, {}});
            continue;
        }
        // The file found is opened by its own name, whatever its letter case.
        FileOutcome outcome = LoadProfileFile(NumberOfProfiles, folder + entry.Name);
        if (outcome.Result != 0) {
            ProfileFileNames[NumberOfProfiles] = entry.Name;
            ++NumberOfProfiles;
        }
        if (outcome.Problem) {
            LoadProblems.push_back(std::move(*outcome.Problem));
        }
    }
    for (const auto& other : listing.Others) {
        if (ProfileNumberOf(other.Name)) {
            LoadProblems.push_back({LoadProblemKind::NotAFile, other.Name, other.Reason});
        }
    }

    SortByName();
    return NumberOfProfiles;
}

} // namespace velmar
