#pragma once

// Whole files read from outside (profiles, calendars, iCalendar files, event
// scripts), bounded: only a regular file is read, opened without waiting for
// a writer or a device, and only when it is no larger than its kind allows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// What a file is read as, for the limit and for the error's words.
struct FileKind {
    std::string_view Name; // "a profile file", "an iCalendar file"
    std::uint64_t MaxBytes = 0;
};

// The bytes of the regular file at a UTF-8 path. FileError with one line that
// names the file and the reason when it cannot be opened or read, is no
// regular file (a folder, a FIFO, a device such as /dev/zero) or is larger
// than `kind.MaxBytes`; nothing beyond that limit is ever read.
std::vector<std::uint8_t> ReadRegularFile(const std::string& path, const FileKind& kind);

// The size limit's words for a message: "64 MiB", "3801352 bytes".
std::string SizeText(std::uint64_t bytes);

} // namespace velmar
