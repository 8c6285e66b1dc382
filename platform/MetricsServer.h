#pragma once

// The HTTP endpoint of the monitor's --metrics-listen: GET /metrics answers
// with the text last published, served by GNU libmicrohttpd on one thread
// of its own, so that neither a scrape nor a client that never finishes its
// request can hold up the reload cycle. Builds without libmicrohttpd (the
// Windows cross-build: Debian's mingw-w64 has none) have no listener.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace velmar {

// Where to listen: a numeric IPv4 or IPv6 address and a TCP port.
struct ListenAddress {
    std::string Host = "127.0.0.1";
    std::uint16_t Port = 0; // 0: a free port the system chooses

    bool operator==(const ListenAddress&) const = default;
};

// Reads "ADDRESS:PORT", "[IPV6-ADDRESS]:PORT", ":PORT" or "PORT"; without an
// address the endpoint stays on the loopback address 127.0.0.1, and
// "localhost" means that address too. The address is not looked up: a host
// name other than localhost is refused when the server starts. Throws
// InvalidArgumentError naming the text for a port outside 0..65535 or a
// malformed text.
ListenAddress ParseListenAddress(std::string_view text);

// "127.0.0.1:9772", "[::1]:9772".
std::string ListenAddressText(const ListenAddress& address);

class MetricsServer {
public:
    // What clients may take of the server. Beyond Connections, further
    // connections wait in the system's queue of the listening socket until
    // one closes; a request whose line and headers exceed RequestBytes is
    // answered 431 and closed; a connection silent for IdleSeconds is closed.
    // Memory stays near Connections x RequestBytes.
    struct Limits {
        unsigned Connections = 64;
        std::size_t RequestBytes = 16384;
        unsigned IdleSeconds = 10;
    };

    // Whether this build has the listener (libmicrohttpd).
    static bool Available();

    // Listens at `address`. Until the first Publish, GET /metrics answers
    // 503. Throws InvalidArgumentError for an address that is no numeric
    // address, FileError with the system's reason when the port cannot be
    // bound (in use, not permitted), and VelmarError in a build without the
    // listener.
    MetricsServer(const ListenAddress& address, const Limits& limits);
    // Stops listening and ends the thread; open connections are closed.
    ~MetricsServer();
    MetricsServer(const MetricsServer&) = delete;
    MetricsServer& operator=(const MetricsServer&) = delete;

    // The text GET /metrics answers with from now on (Content-Type
    // kMetricsContentType of report/Metrics.h). Never waits for a client:
    // a request under way keeps the text it started with.
    void Publish(std::string metrics);

    // The address listened at, with the port the system chose for port 0.
    ListenAddress Address() const;

private:
    struct State;
    std::unique_ptr<State> m_State;
};

} // namespace velmar
