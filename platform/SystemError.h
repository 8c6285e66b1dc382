#pragma once

// The operating system's errors: the last one of the calling thread, and the
// system's own words for one.

#include <string>
#include <system_error>

namespace velmar {

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

namespace detail {
// The system's words for an error as SystemErrorText gives them, from the raw
// text the system gave (empty when it had none).
std::string TidySystemErrorText(std::string text, const std::error_code& error);
} // namespace detail

} // namespace velmar
