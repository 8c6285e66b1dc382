#pragma once

// What the program learns from the operating system at start.

#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// The folder that holds the running executable, as UTF-8 text without a
// trailing separator (except for a root folder). Falls back to the folder of
// `argv0`, and to the current folder, when the system cannot tell.
std::string ExecutableFolder(const char* argv0);

// The program's arguments (without its name) as UTF-8 texts. On Windows they
// are split from the UTF-16 command line by the system's rules
// (CommandLineToArgvW), as the C runtime's `argv` is in the ANSI code page,
// which cannot hold every file name; `argc` and `argv` serve only when the
// system gives no command line.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The command line as the start-up rules read the "/PATH:" switch from it
// (`StartupInfo::Arguments`). On Windows that is one text: what follows the
// program's name in the command line as the system keeps it
// (GetCommandLineW, in UTF-8), spacing and quotation marks as typed, so that
// the switch's value ends at the next "/" of the whole line. Elsewhere it is
// `arguments`, as the shell split them. Empty when nothing follows the name.
std::vector<std::string> StartupArguments(const std::vector<std::string>& arguments);

// What follows the program's name in a Windows command line, without the
// spaces and tabs that separate it from the name. A name that begins with a
// quotation mark runs to the next one; any other runs to the first space or
// tab.
std::string CommandLineAfterProgramName(std::string_view commandLine);

// Whether a graphical session is there to show a window in. On Linux and the
// other X11/Wayland systems that needs DISPLAY or WAYLAND_DISPLAY to be set
// and non-empty; Windows and macOS always have one.
bool HasGraphicalSession();

} // namespace velmar
