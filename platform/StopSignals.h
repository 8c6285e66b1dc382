#pragma once

// The signals that end a console program: SIGINT, SIGTERM and (POSIX) SIGHUP,
// caught so that the program ends in order.

#include <chrono>

namespace velmar {

// While it exists, SIGINT, SIGTERM and (POSIX) SIGHUP are caught and
// remembered instead of ending the process; the previous handlers come back
// when it goes. Create it before the load step, so that a signal during the
// first load is not lost.
class ConsoleStopSignals {
public:
    ConsoleStopSignals();
    ~ConsoleStopSignals();
    ConsoleStopSignals(const ConsoleStopSignals&) = delete;
    ConsoleStopSignals& operator=(const ConsoleStopSignals&) = delete;

    // The signal caught, 0 while none has arrived.
    int Received() const;
    // Waits `duration`, or less: a signal that arrives ends the wait (at once
    // on POSIX, within a tenth of a second on Windows), and a long wait may end
    // a little early, so that the caller, who waits again for the rest, is not
    // held back by the system's slack. Nothing is rounded up to whole
    // milliseconds.
    void Wait(std::chrono::nanoseconds duration) const;
};

} // namespace velmar
