#pragma once

// What the program learns from the operating system at start: its folder and
// its command line, read once.

#include <string>
#include <string_view>
#include <vector>

namespace velmar {

struct ProgramCommandLine {
    // The folder that holds the running executable, as UTF-8 text without a
    // trailing separator (except for a root folder).
    std::string ExecutableFolder;
    // The program's arguments (without its name) as UTF-8 texts. On Windows
    // they are split from the UTF-16 command line by the system's rules
    // (CommandLineToArgvW), as the C runtime's `argv` is in the ANSI code
    // page, which cannot hold every file name.
    std::vector<std::string> Arguments;
    // The command line as the start-up rules read the "/PATH:" switch from
    // it. On Windows that is one text: what follows the program's name in
    // the command line as the system keeps it, spacing and quotation marks as
    // typed, so that the switch's value ends at the next "/" of the whole
    // line. Elsewhere it is Arguments, as the shell split them. Empty when
    // nothing follows the name.
    std::vector<std::string> StartupArguments;
};

// Reads the command line of the running program once: `argc` and `argv`
// serve where the system keeps no command line of its own (everywhere but
// Windows), and `argv[0]` finds the program's folder when the system cannot
// tell it otherwise (falling back to the current folder).
ProgramCommandLine ReadProgramCommandLine(int argc, char** argv);

// What follows the program's name in a Windows command line, without the
// spaces and tabs that separate it from the name. A name that begins with a
// quotation mark runs to the next one; any other runs to the first space or
// tab.
std::string CommandLineAfterProgramName(std::string_view commandLine);

namespace detail {
// The folder of the executable `file`, the folder of `argv0` when the system
// did not name the file (empty), or the current folder.
std::string ExecutableFolderOf(const std::string& file, const char* argv0);
} // namespace detail

} // namespace velmar
