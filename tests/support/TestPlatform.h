#pragma once

// What the tests expect of the system they run on. Where the systems differ,
// the helpers have one source per system (TestPlatformPosix.cpp,
// TestPlatformWindows.cpp), and a test asks kPosixSystem rather than the
// preprocessor.

#include <cstdint>
#include <filesystem>
#include <string>

namespace velmar::test {

#ifdef _WIN32
inline constexpr bool kPosixSystem = false;
#else
inline constexpr bool kPosixSystem = true;
#endif

// The system's words for a folder that does not exist, and for a path that
// names something other than a folder, as a folder listing reports them.
std::string MissingFolderWords();
std::string NotAFolderWords();

// The system's words for a file that is not there, or (`folderMissing`) whose
// folder is not there, as opening it reports them.
std::string NotFoundWords(bool folderMissing);

// The process's own id.
std::int64_t OwnProcessId();

// Gives a file the hidden attribute; false where files have no such
// attribute (POSIX hides names that begin with ".").
bool MakeHidden(const std::filesystem::path& path);

} // namespace velmar::test
