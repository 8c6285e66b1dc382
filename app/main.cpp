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
#include "platform/Process.h"

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
        const auto arguments = velmar::ProgramArguments(argc, argv);
        // Options that print and end come first; further options join them in
        // ParseProgramOptions.
        if (const auto status =
                velmar::RunProgramAction(velmar::ParseProgramOptions(arguments), std::cout, std::cerr)) {
            return *status;
        }
        velmar::StartupInfo startup{velmar::ExecutableFolder(argv0), velmar::StartupArguments(arguments)};
        if (const auto status =
                velmar::RunAutostartOption(startup.ExecutableFolder, arguments, std::cout, std::cerr)) {
            return *status;
        }

#ifndef _WIN32
        const velmar::GraphicalSession session = velmar::ProbeGraphicalSession();
        if (session.State == velmar::DisplayState::Reachable) {
            // Returns only when no desktop executable could be started.
            const std::string problem = velmar::ExecFirst(
                velmar::DesktopExecutableCandidates(startup.ExecutableFolder, VELMAR_DESKTOP_SUBFOLDER),
                velmar::DesktopArguments(argv0, startup.ExecutableFolder, arguments));
            std::cerr << velmar::ConsoleInsteadLine(problem) << '\n';
        } else if (session.State == velmar::DisplayState::Unreachable) {
            std::cerr << velmar::ConsoleInsteadLine("cannot connect to " + session.Displays) << '\n';
        }
#endif
        return velmar::RunConsoleFrontEnd(startup, std::cout);
    } catch (const std::exception& error) {
        std::cerr << "velmar-active-profiles: " << error.what() << '\n';
        return 1;
    }
}
