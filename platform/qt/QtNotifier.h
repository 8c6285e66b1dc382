#pragma once

// Desktop notifications of the tray program. Where a freedesktop notification
// service answers on the session bus (every Linux desktop with a notification
// daemon, whether its tray is XEmbed or StatusNotifierItem) the notification
// goes to it, as Qt's own StatusNotifierItem tray would send it; elsewhere
// (Windows, or X11 without a daemon) it is the tray icon's own message.

#include <QString>
#include <utility>

class QSystemTrayIcon;

namespace velmar {

class QtNotifier {
public:
    // `tray` shows the message where there is no notification service; it
    // must outlive the notifier. `iconName` is the icon theme's name of the
    // program's icon, `desktopEntry` the name of its desktop file.
    QtNotifier(QSystemTrayIcon& tray, QString applicationName, QString iconName, QString desktopEntry);

    // Shows one notification: a title and a body of plain-text lines. Never
    // waits for the desktop to answer.
    void Show(const QString& title, const QString& body);

    // Whether the last Show went to a notification service (false: the tray's message).
    bool UsedNotificationService() const { return m_UsedService; }

private:
    QSystemTrayIcon& m_Tray;
    // What the notification service is told; Windows has no use for them.
    [[maybe_unused]] QString m_ApplicationName;
    [[maybe_unused]] QString m_IconName;
    [[maybe_unused]] QString m_DesktopEntry;
    bool m_UsedService = false;
};

} // namespace velmar
