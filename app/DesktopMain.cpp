// velmar-active-profiles-desktop: the tray program on Qt, started by the
// launcher velmar-active-profiles (app/Launcher.h). On Windows it is the
// program itself and bears the launcher's name.

#include "app/ConsoleFrontEnd.h"
#include "app/DesktopFrontEnd.h"
#include "app/Launcher.h"
#include "app/ProgramOptions.h"
#include "platform/Process.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    try {
        const char* argv0 = argc > 0 ? argv[0] : "velmar-active-profiles";
        const velmar::StartupInfo startup =
            velmar::DesktopStartup(velmar::ExecutableFolder(argv0), velmar::ProgramArguments(argc, argv));
        if (const auto status = velmar::RunProgramAction(velmar::ParseProgramOptions(startup.Arguments),
                                                         std::cout, std::cerr)) {
            return *status;
        }
        const velmar::GraphicalSession session = velmar::ProbeGraphicalSession();
        if (session.State != velmar::DisplayState::Reachable) {
            std::cerr << velmar::ConsoleInsteadLine(session.State == velmar::DisplayState::None
                                                        ? "no graphical session (DISPLAY and WAYLAND_DISPLAY "
                                                          "are not set)"
                                                        : "cannot connect to " + session.Displays)
                      << '\n';
            return velmar::RunConsoleFrontEnd(startup, std::cout);
        }
        // Qt sees the user's arguments only, never the launcher's folder.
        std::vector<std::string> qtTexts = startup.Arguments;
        std::vector<char*> qtArguments = {argv[0]};
        for (auto& text : qtTexts) {
            qtArguments.push_back(text.data());
        }
        qtArguments.push_back(nullptr);
        int qtArgumentCount = static_cast<int>(qtArguments.size()) - 1;
        return velmar::RunDesktopFrontEnd(qtArgumentCount, qtArguments.data(), startup, session);
    } catch (const std::exception& error) {
        std::cerr << "velmar-active-profiles: " << error.what() << '\n';
        return 1;
    }
}
