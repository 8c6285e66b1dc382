#pragma once

// Whole-file reads and replacements that never leave a file half written: the
// editor saves profiles and calendars with them while the alarm server may be
// reading the same files.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// <windows.h>, when included first, names its own ReplaceFile as a macro.
#ifdef ReplaceFile
#undef ReplaceFile
#endif

namespace velmar {

// The bytes of a file. FileError, naming the file and the system's reason,
// when it cannot be opened or read to its end.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

// The name the previous contents of `path` are kept under by ReplaceFile:
// `path` followed by "~".
std::string BackupPathOf(const std::string& path);

// Replaces the contents of `path` by `bytes`: writes them to a temporary file
// in the same folder, flushes it to the disk, keeps the file that was there as
// BackupPathOf(path) (replacing an older backup), and renames the temporary
// file over `path`. A reader sees the old file or the new one, never a mix.
// The new file takes the old one's permissions. FileError with the system's
// reason when a step fails (a full disk, a folder without write permission):
// `path` then holds what it held before and no temporary file is left.
void ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace velmar
