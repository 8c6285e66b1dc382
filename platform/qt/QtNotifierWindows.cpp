#include "platform/qt/QtNotifier.h"

#include <QSystemTrayIcon>

namespace velmar {

QtNotifier::QtNotifier(QSystemTrayIcon& tray, QString applicationName, QString iconName, QString desktopEntry)
    : m_Tray(tray), m_ApplicationName(std::move(applicationName)), m_IconName(std::move(iconName)),
      m_DesktopEntry(std::move(desktopEntry)) {}

// Windows shows the tray icon's message as a notification of its own.
void QtNotifier::Show(const QString& title, const QString& body) {
    m_UsedService = false;
    m_Tray.showMessage(title, body, QSystemTrayIcon::Information);
}

} // namespace velmar
