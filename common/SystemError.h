#pragma once

// The operating system's own words for its error codes.

#include <string>

namespace velmar {

#ifdef _WIN32
// The system's description of a Windows error code (as GetLastError() gives
// it) in the user's language, through FormatMessageW, as UTF-8 without the
// trailing line break; "error N" for a code the system has no text for.
// Windows calls leave errno alone, so strerror(errno) after one says nothing.
std::string WindowsErrorText(unsigned long code);
#endif

} // namespace velmar
