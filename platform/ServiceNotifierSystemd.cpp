// The service notifications through libsystemd (Linux). The library is
// loaded when the service manager listens (NOTIFY_SOCKET is set), so that a
// program started any other way never loads it nor what it brings.

#include "common/Errors.h"
#include "platform/ServiceNotifier.h"
#include "platform/SharedLibrary.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <systemd/sd-daemon.h>

namespace velmar {

namespace {

// The library's name as its ABI fixes it (the soname of the headers built against).
constexpr const char* kSystemdLibrary = "libsystemd.so.0";

// The functions of libsystemd the notifications call.
struct Systemd {
    decltype(&sd_notify) Notify = nullptr;
    decltype(&sd_watchdog_enabled) WatchdogEnabled = nullptr;
};

// The library, loaded once; none when no service manager listens (sd_notify
// would do nothing), or when the library cannot be loaded, which one line on
// standard error then says.
const Systemd* LoadSystemd() {
    const char* socket = std::getenv("NOTIFY_SOCKET");
    if (socket == nullptr || *socket == '\0') {
        return nullptr;
    }
    static const Systemd* const functions = []() -> const Systemd* {
        static Systemd loaded;
        try {
            const SharedLibrary library(kSystemdLibrary);
            library.Bind("sd_notify", loaded.Notify);
            library.Bind("sd_watchdog_enabled", loaded.WatchdogEnabled);
            return &loaded;
        } catch (const FileError& error) {
            std::cerr << "velmar-active-profiles: " << error.Reason()
                      << "; the service manager is not told of the program's state\n";
            return nullptr;
        }
    }();
    return functions;
}

void Notify(const std::string& state) {
    if (const Systemd* systemd = LoadSystemd()) {
        systemd->Notify(0, state.c_str());
    }
}

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
    Notify("READY=1\n" + StatusAssignment(status));
}

void NotifyServiceStatus(std::string_view status) {
    Notify(StatusAssignment(status));
}

void NotifyServiceAlive() {
    const Systemd* systemd = LoadSystemd();
    if (systemd != nullptr && systemd->WatchdogEnabled(0, nullptr) > 0) {
        systemd->Notify(0, "WATCHDOG=1");
    }
}

void NotifyServiceStopping() {
    Notify("STOPPING=1");
}

} // namespace velmar
