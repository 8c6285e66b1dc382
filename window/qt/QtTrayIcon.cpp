#include "window/qt/QtTrayIcon.h"

#include "window/qt/QtIcons.h"
#include "window/qt/QtPicture.h"

namespace velmar {

QtTrayIcon::QtTrayIcon() {
    QObject::connect(&m_Tray, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
        if ((reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) && m_Activated) {
            m_Activated();
        }
    });
    QObject::connect(m_Menu.addAction(QStringLiteral("Show profiles")), &QAction::triggered, [this] {
        if (m_Activated) {
            m_Activated();
        }
    });
    QObject::connect(m_Menu.addAction(QStringLiteral("Quit")), &QAction::triggered, [this] {
        if (m_Quit) {
            m_Quit();
        }
    });
    m_Tray.setContextMenu(&m_Menu);
}

void QtTrayIcon::SetTrayIcon(PicturePtr picture) {
    if (picture == m_Picture) {
        return;
    }
    m_Picture = std::move(picture);
    ShowIcon();
}

void QtTrayIcon::SetWarning(bool warning) {
    if (warning == m_Warning) {
        return;
    }
    m_Warning = warning;
    ShowIcon();
}

void QtTrayIcon::ShowIcon() {
    const auto* qtPicture = dynamic_cast<const QtPicture*>(m_Picture.get());
    const QIcon icon = qtPicture != nullptr ? qtPicture->Icon() : QIcon();
    m_Tray.setIcon(m_Warning ? WarningProgramIcon() : icon);
}

void QtTrayIcon::SetIconVisible(std::int16_t visible) {
    m_Tray.setVisible(visible != 0);
}

void QtTrayIcon::SetToolTipText(const std::string& text) {
    const QString tip = QString::fromStdString(text);
    if (tip != m_Tray.toolTip()) {
        m_Tray.setToolTip(tip);
    }
}

} // namespace velmar
