// velmar-active-profiles: the tray program on a desktop, its console front end
// on a machine without a graphical session.

#include "app/Autostart.h"
#include "app/ConsoleFrontEnd.h"
#include "platform/ConsoleProgram.h"
#include "platform/Process.h"

#include <exception>
#include <iostream>

#ifdef VELMAR_WITH_QT
#include "app/DesktopFrontEnd.h"
#endif

int main(int argc, char** argv) {
#ifndef VELMAR_WITH_QT
    const velmar::ConsoleProgram console(argc, argv);
#endif
    try {
        velmar::StartupInfo startup{velmar::ExecutableFolder(argc > 0 ? argv[0] : nullptr),
                                    velmar::StartupArguments(velmar::ProgramArguments(argc, argv))};
        if (const auto status = velmar::RunAutostartOption(startup.ExecutableFolder, startup.Arguments,
                                                           std::cout, std::cerr)) {
            return *status;
        }
#ifdef VELMAR_WITH_QT
        if (velmar::HasGraphicalSession()) {
            return velmar::RunDesktopFrontEnd(argc, argv, startup);
        }
#endif
        return velmar::RunConsoleFrontEnd(startup, std::cout);
    } catch (const std::exception& error) {
        std::cerr << "velmar-active-profiles: " << error.what() << '\n';
        return 1;
    }
}
