#pragma once

// The change signature of the profile files: what the reload cycle compares
// to decide whether the files must be read again.

#include "common/FileSystem.h"

#include <string>
#include <vector>

namespace velmar {

// Every profile file of the data folder in the order the file system lists
// them: name, full modification time and size. A sum of the times of day
// alone, as it once was, missed real changes (a file rewritten at the same
// time of day on another date, a new file written at midnight, two changes
// that cancel out), so the whole list is kept and compared.
using ChangeSignature = std::vector<DirectoryEntry>;

// The folder that holds the profile files, and the pattern of their names.
std::string ProfilesFolder(const std::string& dataPath);
inline constexpr const char* kProfileFilePattern = "Profile_????.dat";

// Lists the profile files under `dataPath` (a missing folder gives none).
ChangeSignature ReadChangeSignature(const std::string& dataPath);

// Whether two signatures name the same files with the same times and sizes.
// A file whose time could not be read makes the signatures differ, so that
// the profiles are read again rather than a change being missed.
bool SameSignature(const ChangeSignature& a, const ChangeSignature& b);

} // namespace velmar
