#pragma once

#include <string>
#include <vector>

namespace velmar::examples {

// Writes the example profiles (Profile_0001.dat ...) into `profilesFolder`,
// creating the folder when it is missing, and returns the file names written.
// The output depends on nothing but this code, so it is the same on every run
// and every machine. FileError when a file cannot be written.
std::vector<std::string> WriteExampleProfiles(const std::string& profilesFolder);

} // namespace velmar::examples
