#pragma once

// The start-up rules of the main window: where the profile data lies.

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

// The command line as one text: the arguments joined with single spaces.
std::string JoinArguments(const std::vector<std::string>& arguments);

// The data folder, always ending in the style's separator: the value of the
// first "/PATH:" switch (found in any letter case), trimmed of spaces; without
// a switch, the executable's folder followed by "Project". The value is taken
// as written: no quotes are removed, and an empty value gives the root folder.
// A switch that starts beyond character 32761 of the command line raises
// OverflowError, as the 16-bit position of its value overflows.
std::string ResolveDataPath(const std::string& executableFolder, const std::vector<std::string>& arguments,
                            PathStyle style = kPlatformPathStyle);

} // namespace velmar
