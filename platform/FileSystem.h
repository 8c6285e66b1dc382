#pragma once

// Folders and the files in them, as the operating system lists them.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

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
// WildcardMatch, letter case ignored as on Windows). Hidden entries (names
// beginning with "." on POSIX, the hidden or system attribute on Windows) are
// left out. One system call per matching entry gives its type, time and size;
// other names cost no call and no conversion. Never throws for a folder that
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

// Whether a folder exists (or a link to one).
bool IsExistingFolder(const std::string& folder);

// The folder's canonical path, UTF-8, without a trailing separator: absolute,
// with "." and ".." and symbolic links resolved as far as the folder exists,
// so that two spellings of one folder give the same text. A folder that does
// not exist keeps its missing part as written.
std::string CanonicalFolder(const std::string& folder);

namespace detail {
// What differs by system, in FileSystemPosix.cpp and FileSystemWindows.cpp.
// Whether a directory search passes over the entry: hidden by its name on
// POSIX, by its attributes on Windows.
bool IsHiddenEntry(const std::filesystem::path& path);
// Whether a file named in full (no wildcard) is hidden from a search: on
// Windows by its attributes; on POSIX never, since hiding is no property a
// named file has there.
bool IsHiddenNamedFile(const std::filesystem::path& path);
// Whether the system's own searches ignore letter case.
bool SearchIgnoresCase();
} // namespace detail

} // namespace velmar
