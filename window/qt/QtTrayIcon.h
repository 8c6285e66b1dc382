#pragma once

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
// Its context menu offers "Show profiles" (IconActivated) and "Quit".
class QtTrayIcon : public ITrayIcon {
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
    // The handler of the menu's "Quit".
    void SetQuitHandler(std::function<void()> handler) { m_Quit = std::move(handler); }

    QSystemTrayIcon& Widget() { return m_Tray; }

private:
    QMenu m_Menu; // outlives the icon that shows it
    // Hands the picture, or its warning variant, to Qt.
    void ShowIcon();

    QSystemTrayIcon m_Tray;
    PicturePtr m_Picture;
    bool m_Warning = false;
    std::function<void()> m_Activated;
    std::function<void()> m_Quit;
};

} // namespace velmar
