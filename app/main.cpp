// velmar-active-profiles: the command the user runs. On X11 and Wayland
// systems it is a launcher that never loads Qt (app/Launcher.h): it answers
// --help and --version, runs the console front end without a graphical
// session, and otherwise replaces itself with the desktop executable. On
// Windows a build without Qt makes it the console program; with Qt the
// desktop executable itself bears this name.

#include "app/Autostart.h"
#include "app/ConsoleFrontEnd.h"
#include "app/Launcher.h"
#include "app/ProgramOptions.h"
#include "platform/ConsoleProgram.h"

#include <exception>
#include <iostream>

#ifndef VELMAR_DESKTOP_SUBFOLDER
#define VELMAR_DESKTOP_SUBFOLDER ""
#endif

int main(int argc, char** argv) {
    // Windows: UTF-8 arguments and a UTF-8 console; elsewhere nothing changes.
    const velmar::ConsoleProgram console(argc, argv);
    try {
        const char* argv0 = argc > 0 ? argv[0] : "velmar-active-profiles";
        const velmar::ProgramCommandLine& line = console.CommandLine();
        // Options that print and end come first; further options join them in
        // ParseProgramOptions.
        if (const auto status =
                velmar::RunProgramAction(velmar::ParseProgramOptions(line.Arguments), std::cout, std::cerr)) {
            return *status;
        }
        if (const auto status =
                velmar::RunAutostartOption(line.ExecutableFolder, line.Arguments, std::cout, std::cerr)) {
            return *status;
        }
        velmar::StartDesktopInstead(argv0, line, VELMAR_DESKTOP_SUBFOLDER, std::cerr);
        // The data folder, worked out once from the command line for the whole run.
        const auto folder = velmar::DataFolder::FromCommandLine(line.ExecutableFolder, line.StartupArguments);
        return velmar::RunConsoleFrontEnd(folder, std::cout);
    } catch (const std::exception& error) {
        std::cerr << "velmar-active-profiles: " << error.what() << '\n';
        return 1;
    }
}
