#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace velmar {

// The folder separator of the platform: "\" on Windows, "/" elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The error of the calling thread's last failed system call: errno on POSIX,
// GetLastError() on Windows.
std::error_code LastSystemError();
// The system's own words for an error, UTF-8, as a clause that follows a
// colon: "permission denied", "input/output error". Windows codes are worded
// by FormatMessageW. The first letter is lower-cased unless the first word is
// an abbreviation ("I/O"), and a final full stop is dropped.
std::string SystemErrorText(const std::error_code& error);
// Whether an error says that a file, or a folder on its path, does not exist
// (ENOENT; on Windows ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND).
bool IsNoSuchFile(const std::error_code& error);

// Texts are UTF-8 throughout the program; these convert to and from the
// file-system path type without loss on any platform.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// Matches a file name against a pattern where "*" stands for any run of
// characters and "?" for exactly one (one code point of UTF-8 text).
// With ignoreCase, ASCII and Latin-1 letters match in either case, as on Windows.
bool WildcardMatch(std::string_view pattern, std::string_view name, bool ignoreCase);

// One ordinary file found by ListFolder, or an entry it set apart.
struct DirectoryEntry {
    std::string Name;                  // file name (UTF-8), no folder
    bool HasTime = false;              // false when the modification time could not be read
    std::int64_t ModificationTime = 0; // nanoseconds since the platform's file-time epoch; only compared
    std::uint64_t Size = 0;            // bytes
    std::string Reason;                // why an entry set apart is no ordinary file ("is a directory")

    bool operator==(const DirectoryEntry&) const = default;
};

// What a listing found the folder to be.
enum class FolderState {
    Listed,     // a folder, listed to its end
    Missing,    // there is no such folder
    NotAFolder, // the path names something that is not a folder
    Unreadable, // a folder that cannot be listed, or not to its end
};

struct FolderListing {
    FolderState State = FolderState::Listed;
    std::string Reason; // the system's words when State is not Listed: "permission denied"
    // The ordinary files whose names match, in the order the file system
    // delivers them (those found before a failure, when State is Unreadable).
    std::vector<DirectoryEntry> Files;
    // Entries whose names match but that are not ordinary files (a folder, a
    // FIFO, a device), each with its Reason; hidden entries are left out.
    std::vector<DirectoryEntry> Others;

    bool operator==(const FolderListing&) const = default;
};

// Lists the entries of `folder` whose names match `pattern` (wildcards as
// above, letter case ignored as on Windows). Hidden entries (names beginning
// with "." on POSIX, the hidden or system attribute on Windows) are left out.
// One system call per matching entry gives its type, time and size; other
// names cost no call and no conversion. Never throws for a folder that
// cannot be read: State and Reason tell.
FolderListing ListFolder(const std::string& folder, std::string_view pattern);

// The ordinary files of ListFolder alone: a missing or unreadable folder
// gives an empty list.
std::vector<DirectoryEntry> ListFiles(const std::string& folder, std::string_view pattern);

// Whether a directory search for `FileName` finds at least one ordinary file.
// The last path component may hold "*" and "?" wildcards. Folders, anything
// that is not a regular file and hidden files do not count: files with the
// hidden or system attribute on Windows, and on POSIX names beginning with "."
// that only a wildcard matched (a name given in full is found). Any error during
// the search (an invalid path, a folder that cannot be read) gives false.
bool FileExists(const std::string& FileName);

} // namespace velmar
