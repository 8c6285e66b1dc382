#pragma once

#include <functional>

namespace velmar {

// Turns SIGINT, SIGTERM and SIGHUP into a call of `onStop` on the user-interface
// thread, through a socket pair watched by the event loop (a signal handler
// may do nothing but write a byte). Call once, after the application exists.
void InstallStopSignals(std::function<void()> onStop);

} // namespace velmar
