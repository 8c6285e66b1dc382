#include "app/DesktopFrontEnd.h"
#include "app/Launcher.h"
#include "platform/Process.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace velmar {

void ChooseQtPlatform(const GraphicalSession& session) {
    const auto userChoice = ProcessEnvironment("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(QtPlatformList(
                                   session, userChoice, ProcessEnvironment("XDG_SESSION_TYPE"))));
}

void EndBeforeQtOnWayland(int status) {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // Qt's Wayland client can hang for ever while it takes its connection
        // down (its event thread stays blocked in a read that nothing ends).
        // The program is done by now: the icon is gone, the lock let go, the
        // output written. It ends without taking Qt down.
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        std::_Exit(status);
    }
}

} // namespace velmar
