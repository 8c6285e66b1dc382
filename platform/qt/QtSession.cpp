#include "platform/qt/QtSession.h"

#include <QApplication>
#include <QSessionManager>

namespace velmar {

void SetDesktopIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Velmar Active Profiles"));
    QGuiApplication::setDesktopFileName(QStringLiteral("velmar-active-profiles"));
}

void InstallSessionHandling() {
    // Qt asks for both at a checkpoint as well as at a log-off; neither ends
    // the program. At a log-off the session manager then sends Die, which Qt
    // turns into the application's quit.
    const auto neverRestart = [](QSessionManager& manager) {
        manager.setRestartHint(QSessionManager::RestartNever);
    };
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp, neverRestart, Qt::DirectConnection);
    QObject::connect(qApp, &QGuiApplication::saveStateRequest, qApp, neverRestart, Qt::DirectConnection);
}

} // namespace velmar
