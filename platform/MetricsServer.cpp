#include "platform/MetricsServer.h"

#include "common/Errors.h"

#include <charconv>

namespace velmar {

ListenAddress ParseListenAddress(std::string_view text) {
    const auto refuse = [&](const std::string& why) {
        return InvalidArgumentError("metrics address \"" + std::string(text) + "\": " + why);
    };
    ListenAddress address;
    std::string_view port = text;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':') {
            throw refuse("expected [ADDRESS]:PORT");
        }
        address.Host = std::string(text.substr(1, close - 1));
        port = text.substr(close + 2);
    } else if (const std::size_t colon = text.rfind(':'); colon != std::string_view::npos) {
        if (text.find(':') != colon) {
            throw refuse("an IPv6 address goes in brackets: [ADDRESS]:PORT");
        }
        if (colon > 0) {
            address.Host = std::string(text.substr(0, colon));
        }
        port = text.substr(colon + 1);
    }
    if (address.Host.empty()) {
        throw refuse("no address before the port");
    }
    if (address.Host == "localhost") {
        address.Host = "127.0.0.1";
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (port.empty() || error != std::errc() || end != port.data() + port.size() || value > 65535) {
        throw refuse("the port must be a number from 0 to 65535");
    }
    address.Port = static_cast<std::uint16_t>(value);
    return address;
}

std::string ListenAddressText(const ListenAddress& address) {
    const bool v6 = address.Host.find(':') != std::string::npos;
    return (v6 ? "[" + address.Host + "]" : address.Host) + ":" + std::to_string(address.Port);
}

} // namespace velmar
