#pragma once

// The tray component `NotifyArea`: the program's icon in the notification area.

#include "window/Window.h"

#include <cstdint>
#include <functional>
#include <string>

namespace velmar {

class ITrayIcon {
public:
    virtual ~ITrayIcon() = default;

    // The picture drawn in the notification area, assigned by reference.
    virtual void SetTrayIcon(PicturePtr picture) = 0;
    virtual PicturePtr TrayIcon() const = 0;

    // 16-bit truth value: non-zero puts the icon into the notification area,
    // 0 removes it. Reads back -1 or 0.
    virtual void SetIconVisible(std::int16_t visible) = 0;
    virtual std::int16_t IconVisible() const = 0;

    // The icon's tooltip, plain text shown literally, with line breaks.
    virtual void SetToolTipText(const std::string& text) = 0;
    virtual std::string ToolTipText() const = 0;

    // While true the icon is shown in its warning variant (the picture with a
    // warning mark); TrayIcon() stays the picture assigned.
    virtual void SetWarning(bool warning) = 0;
    virtual bool Warning() const = 0;

    // The handler of IconActivated, raised when the user acts on the icon.
    virtual void SetIconActivatedHandler(std::function<void()> handler) = 0;

    // Whether the desktop has a notification area to show the icon in right
    // now. Without one the icon cannot be reached, so the window must stay
    // reachable itself.
    virtual bool NotificationAreaAvailable() const = 0;
};

} // namespace velmar
