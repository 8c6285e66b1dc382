// velmar-active-profiles-desktop: the tray program on Qt, started by the
// launcher velmar-active-profiles (app/Launcher.h). On Windows it is the
// program itself and bears the launcher's name.

#include "app/Autostart.h"
#include "app/ConsoleFrontEnd.h"
#include "app/DesktopFrontEnd.h"
#include "app/Launcher.h"
#include "app/Monitoring.h"
#include "app/ProgramOptions.h"
#include "platform/CommandLine.h"
#include "platform/ConsoleProgram.h"
#include "platform/GraphicalSession.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Windows: a GUI program started from a console prints into it.
    velmar::AttachToParentConsole();
    try {
        const velmar::ProgramCommandLine line =
            velmar::DesktopStartup(velmar::ReadProgramCommandLine(argc, argv));
        const std::vector<std::string>& userArguments = line.Arguments;
        if (const auto status =
                velmar::RunProgramAction(velmar::ParseProgramOptions(userArguments), std::cout, std::cerr)) {
            return *status;
        }
        // On Windows this executable is the program itself, so it also
        // answers --autostart and reads "/PATH:" from the command line as typed.
        if (const auto status =
                velmar::RunAutostartOption(line.ExecutableFolder, userArguments, std::cout, std::cerr)) {
            return *status;
        }
        const auto monitoring = velmar::ParseMonitoringOptions(userArguments);
        // The data folder, worked out once from the command line for the whole run.
        const auto folder = velmar::DataFolder::FromCommandLine(
            line.ExecutableFolder, velmar::FolderArguments(monitoring, line.StartupArguments));
        const velmar::GraphicalSession session = velmar::ProbeGraphicalSession();
        if (session.State != velmar::DisplayState::Reachable) {
            std::cerr << velmar::ConsoleInsteadLine(session.State == velmar::DisplayState::None
                                                        ? "no graphical session (DISPLAY and WAYLAND_DISPLAY "
                                                          "are not set)"
                                                        : "cannot connect to " + session.Displays)
                      << '\n';
            return velmar::RunConsoleFrontEnd(folder, monitoring, std::cout, std::cerr);
        }
        // Qt sees the user's arguments only, never the launcher's folder.
        std::vector<std::string> qtTexts = userArguments;
        std::vector<char*> qtArguments = {argv[0]};
        for (auto& text : qtTexts) {
            qtArguments.push_back(text.data());
        }
        qtArguments.push_back(nullptr);
        int qtArgumentCount = static_cast<int>(qtArguments.size()) - 1;
        return velmar::RunDesktopFrontEnd(qtArgumentCount, qtArguments.data(), folder, session, monitoring,
                                          line.ExecutableFolder, velmar::NotifyRequested(userArguments));
    } catch (const velmar::ProgramUsageError& error) {
        std::cerr << "velmar-active-profiles: " << error.Message()
                  << " (see velmar-active-profiles --help)\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "velmar-active-profiles: " << error.what() << '\n';
        return 1;
    }
}
