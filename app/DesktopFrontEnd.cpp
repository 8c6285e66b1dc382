#include "app/DesktopFrontEnd.h"

#include "platform/qt/QtDesktop.h"
#include "profiles/Profiles.h"

#include <QApplication>
#include <QSessionManager>

namespace velmar {

int RunDesktopFrontEnd(int& argc, char** argv, const StartupInfo& startup) {
    QApplication application(argc, argv);
    // The window is hidden most of the time; the program ends only when the
    // window is unloaded.
    QApplication::setQuitOnLastWindowClosed(false);

    QtImageList images;
    QtMainWindow window(images);
    QtTimer timer;
    QtTrayIcon tray;
    QtWait wait;
    QtBusyPointer busy;
    VelmarActiveProfiles_Main main({window, window.List(), images, timer, tray, wait, busy}, startup);
    window.SetEvents(&main);
    window.OnUnloaded = [] { QCoreApplication::quit(); };

    InstallStopSignals([&window] { window.RequestClose(CloseReason::ProcessEnd); });
    // Log-off and shutdown: the session manager asks the program to commit its
    // data before the session ends. The program has none; it ends.
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [&window](QSessionManager&) { window.RequestClose(CloseReason::SessionEnd); });
    // However the loop ends, the icon goes first.
    QObject::connect(&application, &QCoreApplication::aboutToQuit, [&window] { window.EnsureUnloaded(); });

    window.Create();
    const int status = QApplication::exec();
    window.EnsureUnloaded();
    return status;
}

} // namespace velmar
