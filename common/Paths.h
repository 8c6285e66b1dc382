#pragma once

// Paths as the program's texts carry them: UTF-8, with the platform's folder
// separator.

#include <filesystem>
#include <string>
#include <string_view>

namespace velmar {

// The folder separator of the platform: "\" on Windows, "/" elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Texts are UTF-8 throughout the program; these convert to and from the
// file-system path type without loss on any platform.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

} // namespace velmar
