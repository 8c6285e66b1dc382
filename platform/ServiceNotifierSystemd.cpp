// The service notifications through libsystemd (Linux).

#include "platform/ServiceNotifier.h"

#include <string>
#include <systemd/sd-daemon.h>

namespace velmar {

namespace {

// A status line keeps to one line: a line break would end the assignment.
std::string StatusAssignment(std::string_view status) {
    std::string line = "STATUS=";
    for (const char c : status) {
        line += (c == '\n' || c == '\r') ? ' ' : c;
    }
    return line;
}

} // namespace

bool ServiceNotifierAvailable() {
    return true;
}

void NotifyServiceReady(std::string_view status) {
    sd_notify(0, ("READY=1\n" + StatusAssignment(status)).c_str());
}

void NotifyServiceStatus(std::string_view status) {
    sd_notify(0, StatusAssignment(status).c_str());
}

void NotifyServiceAlive() {
    if (sd_watchdog_enabled(0, nullptr) > 0) {
        sd_notify(0, "WATCHDOG=1");
    }
}

void NotifyServiceStopping() {
    sd_notify(0, "STOPPING=1");
}

} // namespace velmar
