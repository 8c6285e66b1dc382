#pragma once

// The signals that end a console program: SIGINT, SIGTERM and (POSIX) SIGHUP,
// caught so that the program ends in order.

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
    // Waits about `milliseconds`, or less: a signal that arrives ends the
    // wait (at once on POSIX, within a tenth of a second on Windows).
    void Wait(long long milliseconds) const;
};

} // namespace velmar
