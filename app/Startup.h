#pragma once

// The start-up rules of the main window: where the profile data lies.

#include "platform/FileSystem.h"

#include <functional>
#include <string>
#include <vector>

namespace velmar {

// How the "/PATH:" switch and the data folder are read. Windows: "\" joins
// folders and the switch's value ends at the next "/" of the command line.
// POSIX: "/" joins folders, so the value runs to the end of the argument the
// switch stands in (the shell has already split and unquoted the arguments);
// a switch that ends its argument takes the whole next argument as its value.
enum class PathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr PathStyle kPlatformPathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kPlatformPathStyle = PathStyle::Posix;
#endif

// The data folder of an installed program, fixed at build time
// (VELMAR_DEFAULT_DATA_PATH): the default when no folder "Project" lies beside
// the executable. Empty when the build has none; then "Project" beside the
// executable is always the default.
extern const char* const kDefaultDataPath;

// Whether a folder exists; ResolveDataPath asks it about "Project" beside the
// executable. The file system's answer is IsExistingFolder.
using FolderPredicate = std::function<bool(const std::string& folder)>;

// The command line as one text: the arguments joined with single spaces.
std::string JoinArguments(const std::vector<std::string>& arguments);

// The data folder, always ending in the style's separator: the value of the
// first "/PATH:" switch (found in any letter case), trimmed of spaces; without
// a switch, the executable's folder followed by "Project" where that folder
// exists (a portable copy), and kDefaultDataPath where it does not. An empty value
// gives the root folder. Windows removes quotation marks from the value;
// POSIX takes it as written.
// A switch that starts beyond character 32761 of the command line raises
// OverflowError, as the 16-bit position of its value overflows.
std::string ResolveDataPath(const std::string& executableFolder, const std::vector<std::string>& arguments,
                            PathStyle style = kPlatformPathStyle,
                            const FolderPredicate& folderExists = IsExistingFolder);

} // namespace velmar
