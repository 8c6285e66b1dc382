#pragma once

// The start of a command-line program: UTF-8 arguments and a console that
// shows UTF-8, on Windows as elsewhere.

#include "platform/CommandLine.h"

#include <string>
#include <vector>

namespace velmar {

// Sets a command-line program up for its run; create it first thing in main
// and keep it until main returns. It reads the program's command line once
// (CommandLine()). On Windows:
// - `argc` and `argv` are replaced by the arguments of the program's UTF-16
//   command line in UTF-8 (the C runtime hands them out in the ANSI code
//   page, which cannot hold every file name); the texts live as long as the
//   object. The program's name, `argv[0]`, stays as the runtime gave it.
// - Console output is switched to UTF-8; the console's own code page comes
//   back when the object goes, when the program exits and when it is ended
//   from the console.
// - Ctrl+Break and the closing of the console window are handled as Ctrl+C:
//   a program with a SIGINT handler of its own gets SIGINT, one that ignores
//   SIGINT goes on (a closing console ends it all the same), any other ends
//   with the status of Ctrl+C.
// Elsewhere the arguments already are UTF-8 and nothing is changed.
class ConsoleProgram {
public:
    ConsoleProgram(int& argc, char**& argv);
    ~ConsoleProgram();
    ConsoleProgram(const ConsoleProgram&) = delete;
    ConsoleProgram& operator=(const ConsoleProgram&) = delete;

    const ProgramCommandLine& CommandLine() const { return m_CommandLine; }

private:
    ProgramCommandLine m_CommandLine;
    std::vector<std::string> m_Arguments;
    std::vector<char*> m_Argv;
};

// A Windows program of the GUI subsystem (the tray program) has no console of
// its own: when it was started from one, its standard output and error are
// connected to that console, so that --help, --version and error lines reach
// whoever typed the command. Elsewhere, and when there is no such console,
// nothing changes.
void AttachToParentConsole();

#ifdef _WIN32
// The console control handler ConsoleProgram installs, for tests: true when
// the event was dealt with (SIGINT raised or ignored), false when the next
// handler is to take it. Where SIGINT would end the program, a Ctrl+C,
// Ctrl+Break or close ends the process here.
bool HandleConsoleControl(unsigned long event);
#endif

} // namespace velmar
