#pragma once

// Watches the system tray of the X display in DISPLAY (a trayer panel, as
// scripts/bench.sh starts it) for an icon that some program has drawn.

#include <chrono>

namespace velmar::bench {

class TrayWatch {
public:
    TrayWatch();
    ~TrayWatch();
    TrayWatch(const TrayWatch&) = delete;
    TrayWatch& operator=(const TrayWatch&) = delete;

    // Whether the display is open and a tray panel was found on it.
    bool Ready() const { return m_Panel != 0; }
    // Waits until the tray holds an icon whose pixels are not all one colour
    // (an icon window that is there but still blank does not count).
    bool WaitForDrawnIcon(std::chrono::milliseconds timeout) const;
    // Waits until the tray holds no icon.
    bool WaitUntilEmpty(std::chrono::milliseconds timeout) const;

private:
    // 1 when an icon is drawn, 0 when there is an icon window but no icon drawn
    // in it, -1 when the tray holds no icon window.
    int IconState() const;

    void* m_Display = nullptr; // Display*, kept out of this header with all of Xlib
    unsigned long m_Panel = 0;
};

} // namespace velmar::bench
