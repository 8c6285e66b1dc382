#pragma once

// What the program learns from the operating system at start.

#include <string>
#include <vector>

namespace velmar {

// The folder that holds the running executable, as UTF-8 text without a
// trailing separator (except for a root folder). Falls back to the folder of
// `argv0`, and to the current folder, when the system cannot tell.
std::string ExecutableFolder(const char* argv0);

// The program's arguments (without its name) as UTF-8 texts.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Whether a graphical session is there to show a window in. On Linux and the
// other X11/Wayland systems that needs DISPLAY or WAYLAND_DISPLAY to be set
// and non-empty; Windows and macOS always have one.
bool HasGraphicalSession();

} // namespace velmar
