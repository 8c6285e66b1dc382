#include "platform/qt/QtNotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QSystemTrayIcon>
#include <QVariantMap>

namespace velmar {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

// Whether the service takes markup in the body: then the body's text is
// escaped, so that a profile's name is never taken for markup.
bool TakesMarkup(QDBusConnection& bus) {
    const QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("GetCapabilities"));
    const QDBusReply<QStringList> capabilities = bus.call(call, QDBus::Block, 2000);
    return capabilities.isValid() && capabilities.value().contains(QStringLiteral("body-markup"));
}

} // namespace

QtNotifier::QtNotifier(QSystemTrayIcon& tray, QString applicationName, QString iconName, QString desktopEntry)
    : m_Tray(tray), m_ApplicationName(std::move(applicationName)), m_IconName(std::move(iconName)),
      m_DesktopEntry(std::move(desktopEntry)) {}

void QtNotifier::Show(const QString& title, const QString& body) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    m_UsedService = bus.isConnected() && bus.interface() != nullptr &&
                    bus.interface()->isServiceRegistered(kService).value();
    if (!m_UsedService) {
        m_Tray.showMessage(title, body, QSystemTrayIcon::Information);
        return;
    }
    QDBusMessage notify =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    const QVariantMap hints = {{QStringLiteral("desktop-entry"), m_DesktopEntry}};
    notify << m_ApplicationName << quint32(0) << m_IconName << title
           << (TakesMarkup(bus) ? body.toHtmlEscaped() : body) << QStringList() << hints << qint32(-1);
    // The answer (the notification's number) is of no use: nothing waits for it.
    bus.send(notify);
}

} // namespace velmar
