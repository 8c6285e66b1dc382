#include "profiles/ProfileStore.h"

#include "common/CodePage.h"
#include "common/Errors.h"
#include "platform/FileSystem.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace velmar {

namespace {

constexpr std::size_t kNumberPosition = 8; // 0-based offset of the four digits behind "Profile_"
constexpr std::size_t kProfileFileNameLength = 16;

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

LoadProblem UnreadableFile(const std::string& name, const FileError& error) {
    return {LoadProblemKind::FileUnreadable, name,
            error.Reason().empty() ? std::string(error.what()) : error.Reason()};
}

// Loads one file into a slot of `load`; the body of LoadProfile once the
// file's name is known. Every step that fails is skipped: a file that cannot
// be opened or is too short is not loaded, while a version-4 file counts as
// loaded however early it ends. A read that fails is no early end: the file
// is not loaded, so that a failing disk never shows a profile made of zeros.
FileOutcome LoadProfileFile(ProfileLoad& load, std::int16_t ProfileIndex, const std::string& name) {
    if (ProfileIndex < 0 || ProfileIndex >= kMaxProfiles) {
        return {}; // no slot to fill; the tables are never touched beyond their bounds
    }
    load.TimeSchedules[ProfileIndex].reset();
    try {
        ProfileFileRead read = ReadProfile(load.Folder.ProfileFile(name));
        switch (read.Format) {
        case ProfileFileFormat::TooShort:
            return {0, LoadProblem{LoadProblemKind::TooShort, name, {}}};
        case ProfileFileFormat::OtherVersion:
            return {0, LoadProblem{LoadProblemKind::WrongVersion, name,
                                   std::to_string(read.Contents.FormatVersion)}};
        case ProfileFileFormat::Readable:
            break;
        }
        load.Profiles[ProfileIndex] = std::move(read.Contents.Record);
        load.TimeSchedules[ProfileIndex] = std::move(read.Contents.Schedule);
        return {-1, std::nullopt};
    } catch (const FileError& error) {
        if (IsNoSuchFile(error.Code())) {
            // Listed, and gone (deleted or renamed) before it could be opened.
            return {0, LoadProblem{LoadProblemKind::FileVanished, name, {}}};
        }
        return {0, UnreadableFile(name, error)}; // refused, no file, or a read that failed
    } catch (...) {
        return {};
    }
}

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

// Orders the valid slots by upper-cased name, as passes of exchanges of
// neighbours would (a bubble sort that never exchanges equal names): the
// result is the stable order, so equal names keep the order in which their
// files were found. Byte-wise comparison of UTF-8 texts is code-point order,
// so Ä (U+00C4) comes before Å (U+00C5) and Ö (U+00D6): no language's
// collation applies. The slot numbers are sorted, then each table is put in
// that order once, so that no record is copied more than once.
void SortByName(ProfileLoad& load) {
    const auto count = static_cast<std::size_t>(load.NumberOfProfiles);
    std::vector<std::string> keys(count);
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i) {
        keys[i] = Utf8ToUpper(load.Profiles[static_cast<long long>(i)].Name);
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
    arrange(load.Profiles);
    arrange(load.TimeSchedules);
    arrange(load.FileNames);
}

// The problems in slot order: the folder's first (it has no files then), the
// files' by their names (the four digits, whatever the letter case of the
// rest), so that the first problem shown is the same on every file system.
void SortProblems(std::vector<LoadProblem>& problems) {
    const auto key = [](const LoadProblem& problem) {
        std::string name = problem.File;
        for (char& c : name) {
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        }
        return std::make_pair(!IsFolderProblem(problem.Kind), std::move(name));
    };
    std::stable_sort(problems.begin(), problems.end(),
                     [&key](const LoadProblem& a, const LoadProblem& b) { return key(a) < key(b); });
}

} // namespace

bool ProfileLoad::FolderListed() const {
    return std::none_of(Problems.begin(), Problems.end(),
                        [](const LoadProblem& problem) { return IsFolderProblem(problem.Kind); });
}

std::int16_t ProfileStore::LoadProfile(std::int16_t ProfileIndex, std::int16_t ProfileNumber) {
    try {
        std::string name = "Profile_" + FourDigits(ProfileNumber) + ".dat";
        FileOutcome outcome = LoadProfileFile(m_Load, ProfileIndex, name);
        // File names are matched without regard to letter case, as on Windows:
        // on a case-sensitive file system PROFILE_0007.DAT is profile 7 as
        // well. Only a name that is not there as written costs a search.
        if (outcome.Problem && outcome.Problem->Kind == LoadProblemKind::FileVanished) {
            const auto found = ListFiles(m_Load.Folder.ProfilesFolder(), name);
            if (!found.empty()) {
                name = found.front().Name;
                outcome = LoadProfileFile(m_Load, ProfileIndex, name);
            }
        }
        if (outcome.Result != 0) {
            m_Load.FileNames[ProfileIndex] = name;
        }
        return outcome.Result;
    } catch (...) {
        return 0;
    }
}

const ProfileLoad& ProfileStore::LoadAllProfiles() {
    return LoadAllProfiles(ListFolder(m_Load.Folder.ProfilesFolder(), kProfileFilePattern));
}

const ProfileLoad& ProfileStore::LoadAllProfiles(const FolderListing& listing) {
    ProfileLoad& load = m_Load;
    for (auto& schedule : load.TimeSchedules) {
        schedule.reset();
    }
    load.NumberOfProfiles = 0;
    load.Problems.clear();

    if (auto problem = FolderProblem(listing, load.Folder.ProfilesFolder())) {
        load.Problems.push_back(std::move(*problem));
    }
    for (const auto& entry : listing.Files) {
        if (!ProfileNumberOf(entry.Name)) {
            continue;
        }
        if (load.NumberOfProfiles >= kMaxProfiles) {
            // The table is full: the file is not read, but it is not forgotten.
            load.Problems.push_back({LoadProblemKind::BeyondSlots, entry.Name, {}});
            continue;
        }
        // The file found is opened by its own name, whatever its letter case.
        FileOutcome outcome = LoadProfileFile(load, load.NumberOfProfiles, entry.Name);
        if (outcome.Result != 0) {
            load.FileNames[load.NumberOfProfiles] = entry.Name;
            ++load.NumberOfProfiles;
        }
        if (outcome.Problem) {
            load.Problems.push_back(std::move(*outcome.Problem));
        }
    }
    for (const auto& other : listing.Others) {
        if (ProfileNumberOf(other.Name)) {
            load.Problems.push_back({LoadProblemKind::NotAFile, other.Name, other.Reason});
        }
    }

    SortProblems(load.Problems);
    SortByName(load);
    return load;
}

} // namespace velmar
