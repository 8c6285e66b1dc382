#pragma once

// Saves that never leave a file half written and never change what a file is:
// the editor saves profiles and calendars with them while the alarm server may
// be reading, and writing, the same files.
//
// A save follows the rules well-kept editors keep (one source per platform,
// FileReplacePosix.cpp and FileReplaceWindows.cpp):
// - a symbolic link is followed: the file written is its target, in the
//   target's folder, and the link stays a link;
// - a file whose identity a new file could not keep (more than one hard link,
//   an owner or group the user cannot give a new file, ACLs or extended
//   attributes that cannot be copied, a folder where the user may not create
//   files) is rewritten in place: flushed, then read back and compared;
// - any other file is written to a temporary file beside it, flushed, and
//   renamed over it, a reader seeing the old file or the new one, never a mix;
//   the new file gets the old one's owner, group, mode, ACLs and extended
//   attributes;
// - a read-only file is not replaced unless the caller says so;
// - the previous file is kept as NAME~, written by the same rules; a NAME~
//   that is a link made by someone else is replaced, never followed, and a
//   NAME~ that cannot be written does not stop the save (the result says so);
// - temporary files are named ".NAME.saving-PID-N" after the process that
//   writes them; those of a process that no longer runs are removed by the
//   next save or open of the file.

#include "common/Errors.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// <windows.h>, when included first, names its own ReplaceFile as a macro.
#ifdef ReplaceFile
#undef ReplaceFile
#endif

namespace velmar {

// The bytes of a regular file of at most 256 MiB (ReadRegularFile).
// FileError, naming the file and the reason, when it cannot be read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

// The name the previous contents of `path` are kept under by ReplaceFile:
// `path` followed by "~".
std::string BackupPathOf(const std::string& path);

// The name of the temporary file that process `pid` writes a new `fileName`
// to: "." fileName ".saving-" pid "-" attempt. The leading "." hides it from
// folder listings (the monitor skips it); the suffix keeps it off the profile
// file pattern.
std::string TemporaryNameOf(std::string_view fileName, std::int64_t pid, unsigned attempt);
// The process id in `name` when it is a temporary file of `fileName`.
std::optional<std::int64_t> TemporaryOwnerOf(std::string_view name, std::string_view fileName);

// Raised by ReplaceFile for a file the user may not write (no write
// permission, the read-only attribute) unless ReplaceOptions::OverReadOnly.
class ReadOnlyFileError : public FileError {
public:
    explicit ReadOnlyFileError(const std::string& path)
        : FileError("cannot save \"" + path + "\": the file is read-only", "the file is read-only") {}
};

// Raised by ReplaceFile when a rewrite in place failed after it began: the
// file may then be incomplete (the message says where its backup is). Every
// other failure of ReplaceFile leaves the file as it was.
class IncompleteFileError : public FileError {
public:
    using FileError::FileError;
};

struct ReplaceOptions {
    // The user chose to save over a read-only file anyway.
    bool OverReadOnly = false;
};

enum class ReplaceMethod : std::uint8_t {
    Created,          // there was no file: a new one
    Renamed,          // a new file renamed over the old one
    RewrittenInPlace, // the old file itself rewritten
};

struct ReplaceResult {
    std::string WrittenPath; // the file written: the target of a symbolic link
    ReplaceMethod Method = ReplaceMethod::Created;
    std::string InPlaceReason; // why the file was rewritten in place ("it has 2 hard links")
    bool BackupKept = false;   // NAME~ holds the previous file
    std::string BackupProblem; // why it does not although there was one ("permission denied")
};

// Whether `path` names an existing file the user may not write: no write
// permission for the user or, on POSIX, no write permission bit at all (so
// that the superuser is asked as well); the read-only attribute on Windows.
bool IsReadOnlyFile(const std::string& path);

// Replaces the contents of `path` by `bytes` by the rules above. FileError
// with the system's reason when the file cannot be written (a full disk, a
// folder without write permission, no regular file): `path` then holds what
// it held before and no temporary file is left; ReadOnlyFileError for a
// read-only file unless `options` say otherwise.
ReplaceResult ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes,
                          const ReplaceOptions& options = {});

// Removes the temporary files of `path` (and of its NAME~) that processes no
// longer running left behind, beside the file a symbolic link names. Never
// fails: what cannot be removed stays.
void RemoveStaleTemporaries(const std::string& path);

} // namespace velmar
