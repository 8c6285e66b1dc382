#pragma once

// Time seams of the main window: the reload timer, the one-shot timer of the
// wait before a reload, and the application-wide busy pointer.

#include <cstdint>
#include <functional>

namespace velmar {

// A timer of the window. Ticks arrive on the user-interface thread; ticks that
// fall due while a handler still runs do not pile up.
class ITimer {
public:
    virtual ~ITimer() = default;
    virtual void SetInterval(std::int32_t milliseconds) = 0;
    virtual std::int32_t Interval() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    // The handler of every tick (replaces an earlier one).
    virtual void SetTickHandler(std::function<void()> handler) = 0;
};

// A timer that fires once: the wait between noticing a change and loading.
// The handler runs on the user-interface thread about `milliseconds` after
// Start, and until then the thread goes on answering the window and the tray.
// Starting it again before it fired replaces the handler and the time.
class IOneShotTimer {
public:
    virtual ~IOneShotTimer() = default;
    virtual void Start(std::int32_t milliseconds, std::function<void()> handler) = 0;
};

// The application's mouse pointer: busy (hourglass) or the default.
class IBusyPointer {
public:
    virtual ~IBusyPointer() = default;
    virtual void SetBusy(bool busy) = 0;
};

} // namespace velmar
