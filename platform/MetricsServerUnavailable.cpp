// A build without libmicrohttpd (VELMAR_WITH_MICROHTTPD off, as on Windows
// where Debian's mingw-w64 has none): there is no metrics endpoint, and
// asking for one is an error the program reports at start.

#include "common/Errors.h"
#include "platform/MetricsServer.h"

namespace velmar {

struct MetricsServer::State {};

bool MetricsServer::Available() {
    return false;
}

MetricsServer::MetricsServer(const ListenAddress& address, const Limits& /*limits*/) {
    throw VelmarError("cannot listen on " + ListenAddressText(address) +
                      ": this build has no HTTP server (built without libmicrohttpd); --metrics-file works");
}

MetricsServer::~MetricsServer() = default;

void MetricsServer::Publish(std::string /*metrics*/) {}

ListenAddress MetricsServer::Address() const {
    return {};
}

} // namespace velmar
