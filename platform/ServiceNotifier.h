#pragma once

// Tells the service manager that started the program (systemd, for a unit of
// Type=notify) how the program is doing, through libsystemd's sd_notify.
// Without a service manager to tell (NOTIFY_SOCKET unset), and in builds
// without libsystemd (VELMAR_WITH_SYSTEMD off; Windows), every call does
// nothing.

#include <string_view>

namespace velmar {

// Whether this build can tell systemd anything.
bool ServiceNotifierAvailable();

// READY=1 and the status line: start-up is over (the first load is done).
void NotifyServiceReady(std::string_view status);

// The status line alone (STATUS=), shown by "systemctl status".
void NotifyServiceStatus(std::string_view status);

// WATCHDOG=1 when the service manager watches the program (WatchdogSec= of
// the unit): the reload cycle is still ticking.
void NotifyServiceAlive();

// STOPPING=1: the program is ending.
void NotifyServiceStopping();

} // namespace velmar
