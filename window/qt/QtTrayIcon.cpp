#include "window/qt/QtTrayIcon.h"

#include "window/qt/QtIcons.h"
#include "window/qt/QtPicture.h"

#include <QAction>

namespace velmar {

QtTrayIcon::QtTrayIcon() {
    QObject::connect(&m_Tray, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && m_Activated) {
            m_Activated();
        }
    });
    const auto add = [this](const QString& text, DesktopCommand command) {
        QAction* action = m_Menu.addAction(text);
        QObject::connect(action, &QAction::triggered, [this, command] {
            if (m_Command) {
                m_Command(command);
            }
        });
        return action;
    };
    m_ShowHide = add(QObject::tr("&Show profiles"), DesktopCommand::ShowHide);
    m_Menu.setDefaultAction(m_ShowHide);
    m_Edit = add(QObject::tr("&Edit schedule\u2026"), DesktopCommand::EditSchedule);
    add(QObject::tr("Open data &folder"), DesktopCommand::OpenDataFolder);
    m_Menu.addSeparator();
    m_StartAtLogin = add(QObject::tr("Start at &login"), DesktopCommand::StartAtLogin);
    m_StartAtLogin->setCheckable(true);
    m_Notify = add(QObject::tr("&Notify on changes"), DesktopCommand::NotifyOnChanges);
    m_Notify->setCheckable(true);
    m_Menu.addSeparator();
    add(QObject::tr("&About"), DesktopCommand::About);
    QAction* quit = add(QObject::tr("&Quit"), DesktopCommand::Quit);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_Menu.setToolTipsVisible(true);
    m_Tray.setContextMenu(&m_Menu);
}

void QtTrayIcon::SetMenuState(const CommandMenuState& state) {
    m_ShowHide->setText(state.WindowShown ? QObject::tr("&Hide profiles") : QObject::tr("&Show profiles"));
    m_Edit->setEnabled(state.EditorAvailable);
    m_Edit->setToolTip(state.EditorAvailable ? QString()
                                             : QObject::tr("velmar-editor is not installed beside the "
                                                           "program or on the search path"));
    // A checked state set here raises no command: only the user's click does.
    m_StartAtLogin->setChecked(state.StartAtLogin);
    m_Notify->setChecked(state.NotifyOnChanges);
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
