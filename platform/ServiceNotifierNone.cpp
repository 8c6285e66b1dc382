// A build without libsystemd (VELMAR_WITH_SYSTEMD off; Windows): no service
// manager is told anything.

#include "platform/ServiceNotifier.h"

namespace velmar {

bool ServiceNotifierAvailable() {
    return false;
}

void NotifyServiceReady(std::string_view /*status*/) {}

void NotifyServiceStatus(std::string_view /*status*/) {}

void NotifyServiceAlive() {}

void NotifyServiceStopping() {}

} // namespace velmar
