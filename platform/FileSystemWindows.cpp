#include "common/CodePage.h"
#include "common/Paths.h"
#include "common/Wildcard.h"
#include "platform/FileSystem.h"
#include "platform/SystemError.h"

#include <tuple>
#include <utility>
#include <windows.h>

namespace velmar {

namespace fs = std::filesystem;

namespace {

constexpr const char* kNotARegularFile = "not a regular file";

std::string Words(DWORD error) {
    return SystemErrorText({static_cast<int>(error), std::system_category()});
}

// What a folder is whose search failed with `code`, told the way POSIX tells
// it by the failing open alone: a missing folder whose nearest existing
// ancestor is a file is no folder either ("C:\Data\Profiles\" where Data
// is a file). The reasons are the system's words at the command prompt: "the
// system cannot find the path specified", "the directory name is invalid".
std::pair<FolderState, std::string> FailedSearchState(const std::wstring& folder, DWORD code) {
    fs::path path(folder);
    if (!path.has_filename() && path != path.root_path()) {
        path = path.parent_path(); // "C:\Data\" names the folder "C:\Data"
    }
    for (bool itself = true;; itself = false) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != 0) {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                return {FolderState::NotAFolder, Words(ERROR_DIRECTORY)};
            }
            if (!itself) {
                return {FolderState::Missing, Words(ERROR_PATH_NOT_FOUND)};
            }
            if (code == ERROR_FILE_NOT_FOUND) {
                return {FolderState::Listed, {}}; // a folder without a single entry (a drive's root)
            }
            return {FolderState::Unreadable, Words(code)};
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            return {FolderState::Unreadable, Words(code)}; // a drive not ready, a share refused
        }
        const fs::path parent = path.parent_path();
        if (parent.empty() || parent == path) {
            return {FolderState::Missing, Words(ERROR_PATH_NOT_FOUND)};
        }
        path = parent;
    }
}

} // namespace

namespace detail {

// Hidden and system files are not ordinary files for a directory search.
bool IsHiddenEntry(const fs::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

bool IsHiddenNamedFile(const fs::path& path) {
    return IsHiddenEntry(path);
}

bool SearchIgnoresCase() {
    return true;
}

} // namespace detail

FolderListing ListFolder(const std::string& folder, std::string_view pattern) {
    FolderListing listing;
    const NamePattern wanted(pattern);
    using Verdict = NamePattern::Verdict;
    // The directory search returns each entry's attributes, time and size:
    // no further call per file.
    std::wstring search = PathFromUtf8(folder.empty() ? std::string(".") : folder).wstring();
    if (search.back() != L'\\' && search.back() != L'/') {
        search += L'\\';
    }
    search += L'*';
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileExW(search.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        search.pop_back();
        std::tie(listing.State, listing.Reason) = FailedSearchState(search, code);
        return listing;
    }
    do {
        const std::wstring_view name(static_cast<const wchar_t*>(data.cFileName));
        if (name == L"." || name == L".." ||
            (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) {
            continue;
        }
        const Verdict verdict = wanted.Check(name, 2);
        if (verdict == Verdict::No) {
            continue;
        }
        std::string utf8 = WideToUtf8(name);
        if (verdict == Verdict::Maybe && !wanted.Matches(utf8)) {
            continue;
        }
        DirectoryEntry entry;
        entry.Name = std::move(utf8);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            entry.Reason = SystemErrorText(std::make_error_code(std::errc::is_a_directory));
            listing.Others.push_back(std::move(entry));
            continue;
        }
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) {
            entry.Reason = kNotARegularFile;
            listing.Others.push_back(std::move(entry));
            continue;
        }
        const std::uint64_t ticks = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32U) |
                                    data.ftLastWriteTime.dwLowDateTime;
        entry.HasTime = true;
        entry.ModificationTime = static_cast<std::int64_t>(ticks) * 100; // 100-nanosecond ticks since 1601
        entry.Size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32U) | data.nFileSizeLow;
        listing.Files.push_back(std::move(entry));
    } while (FindNextFileW(find, &data) != 0);
    const DWORD end = GetLastError();
    FindClose(find);
    if (end != ERROR_NO_MORE_FILES) {
        listing.State = FolderState::Unreadable;
        listing.Reason = Words(end);
    }
    return listing;
}

} // namespace velmar
