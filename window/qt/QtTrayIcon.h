#pragma once

#include "window/DesktopCommands.h"
#include "window/TrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <cstdint>
#include <functional>
#include <string>

namespace velmar {

// The tray component `NotifyArea` on a QSystemTrayIcon. A click or double click
// on the icon raises IconActivated. The picture is handed to Qt only when it
// changes (Qt writes a temporary file for every new icon on some desktops).
// Its context menu holds the commands of the menus (ICommandMenu), in the
// user's language; the window shows the same menu.
class QtTrayIcon : public ITrayIcon, public ICommandMenu {
public:
    QtTrayIcon();
    void SetTrayIcon(PicturePtr picture) override;
    PicturePtr TrayIcon() const override { return m_Picture; }
    void SetIconVisible(std::int16_t visible) override;
    std::int16_t IconVisible() const override { return m_Tray.isVisible() ? -1 : 0; }
    // Plain text: the text's first line is always the heading, and Qt treats a
    // tooltip as markup only when its first line looks like markup, so names
    // on the following lines are shown literally.
    void SetToolTipText(const std::string& text) override;
    std::string ToolTipText() const override { return m_Tray.toolTip().toStdString(); }
    // While warning, the tray shows WarningProgramIcon.
    void SetWarning(bool warning) override;
    bool Warning() const override { return m_Warning; }
    void SetIconActivatedHandler(std::function<void()> handler) override { m_Activated = std::move(handler); }
    bool NotificationAreaAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    void SetMenuState(const CommandMenuState& state) override;
    void SetCommandHandler(std::function<void(DesktopCommand)> handler) override {
        m_Command = std::move(handler);
    }

    QSystemTrayIcon& Widget() { return m_Tray; }
    QMenu& Menu() { return m_Menu; }

private:
    QMenu m_Menu; // outlives the icon that shows it
    QAction* m_ShowHide;
    QAction* m_Edit;
    QAction* m_StartAtLogin;
    QAction* m_Notify;
    // Hands the picture, or its warning variant, to Qt.
    void ShowIcon();

    QSystemTrayIcon m_Tray;
    PicturePtr m_Picture;
    bool m_Warning = false;
    std::function<void()> m_Activated;
    std::function<void(DesktopCommand)> m_Command;
};

} // namespace velmar
