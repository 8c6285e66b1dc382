// The metrics endpoint on GNU libmicrohttpd: one internal polling thread
// (epoll where there is one), the limits of MetricsServer::Limits, and a
// listening socket the program binds itself, so that a port in use is
// reported with the system's reason. The library is loaded when the first
// server starts, so that a run without --metrics-listen (every start-up, and
// the launcher that only hands over to the desktop executable) never loads it
// nor the TLS libraries it brings.

#include "common/Errors.h"
#include "platform/MetricsServer.h"
#include "platform/SharedLibrary.h"
#include "platform/SystemError.h"

#include <arpa/inet.h>
#include <cstring>
#include <microhttpd.h>
#include <mutex>
#include <netinet/in.h>
#include <string_view>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace velmar {

namespace {

// The library's name as its ABI fixes it (the soname of the headers built against).
constexpr const char* kMicrohttpdLibrary = "libmicrohttpd.so.12";

// The functions of libmicrohttpd the server calls.
struct Microhttpd {
    decltype(&MHD_start_daemon) StartDaemon = nullptr;
    decltype(&MHD_stop_daemon) StopDaemon = nullptr;
    decltype(&MHD_get_daemon_info) GetDaemonInfo = nullptr;
    decltype(&MHD_create_response_from_buffer) CreateResponseFromBuffer = nullptr;
    decltype(&MHD_add_response_header) AddResponseHeader = nullptr;
    decltype(&MHD_queue_response) QueueResponse = nullptr;
    decltype(&MHD_destroy_response) DestroyResponse = nullptr;
};

// Loads the library once, and keeps it for the rest of the run; a failure
// (FileError naming the library and the reason) is tried again at the next
// call.
const Microhttpd& LoadMicrohttpd() {
    static const Microhttpd functions = [] {
        const SharedLibrary library(kMicrohttpdLibrary);
        Microhttpd loaded;
        library.Bind("MHD_start_daemon", loaded.StartDaemon);
        library.Bind("MHD_stop_daemon", loaded.StopDaemon);
        library.Bind("MHD_get_daemon_info", loaded.GetDaemonInfo);
        library.Bind("MHD_create_response_from_buffer", loaded.CreateResponseFromBuffer);
        library.Bind("MHD_add_response_header", loaded.AddResponseHeader);
        library.Bind("MHD_queue_response", loaded.QueueResponse);
        library.Bind("MHD_destroy_response", loaded.DestroyResponse);
        return loaded;
    }();
    return functions;
}

constexpr std::string_view kPath = "/metrics";
constexpr const char* kContentType = "text/plain; version=0.0.4; charset=utf-8";

// A bound, listening socket, closed unless handed over.
class ListeningSocket {
public:
    explicit ListeningSocket(const ListenAddress& address) {
        sockaddr_storage storage{};
        socklen_t length = 0;
        if (inet_pton(AF_INET, address.Host.c_str(), &reinterpret_cast<sockaddr_in&>(storage).sin_addr) ==
            1) {
            auto& v4 = reinterpret_cast<sockaddr_in&>(storage);
            v4.sin_family = AF_INET;
            v4.sin_port = htons(address.Port);
            length = sizeof v4;
        } else if (inet_pton(AF_INET6, address.Host.c_str(),
                             &reinterpret_cast<sockaddr_in6&>(storage).sin6_addr) == 1) {
            auto& v6 = reinterpret_cast<sockaddr_in6&>(storage);
            v6.sin6_family = AF_INET6;
            v6.sin6_port = htons(address.Port);
            length = sizeof v6;
            m_IPv6 = true;
        } else {
            throw InvalidArgumentError("metrics address \"" + ListenAddressText(address) +
                                       "\": not a numeric IPv4 or IPv6 address");
        }
        const std::string where = "cannot listen on " + ListenAddressText(address);
        m_Socket = ::socket(storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_Socket < 0) {
            const auto error = LastSystemError();
            throw FileError(where + ": " + SystemErrorText(error), SystemErrorText(error), error);
        }
        const int on = 1;
        ::setsockopt(m_Socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (m_IPv6) {
            // [::] means IPv6 alone; 0.0.0.0 is the way to IPv4.
            ::setsockopt(m_Socket, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
        }
        if (::bind(m_Socket, reinterpret_cast<const sockaddr*>(&storage), length) != 0 ||
            ::listen(m_Socket, SOMAXCONN) != 0) {
            const auto error = LastSystemError();
            ::close(m_Socket);
            throw FileError(where + ": " + SystemErrorText(error), SystemErrorText(error), error);
        }
    }
    ~ListeningSocket() {
        if (m_Socket >= 0) {
            ::close(m_Socket);
        }
    }
    ListeningSocket(const ListeningSocket&) = delete;
    ListeningSocket& operator=(const ListeningSocket&) = delete;

    int Release() { return std::exchange(m_Socket, -1); }
    bool IPv6() const { return m_IPv6; }

private:
    int m_Socket = -1;
    bool m_IPv6 = false;
};

MHD_Result Answer(MHD_Connection* connection, unsigned status, std::string_view body,
                  const char* contentType = "text/plain; charset=utf-8") {
    // The buffer is copied (MUST_COPY) and never written; the call takes it
    // as void* all the same.
    const Microhttpd& mhd = LoadMicrohttpd();
    MHD_Response* response = mhd.CreateResponseFromBuffer(
        body.size(), const_cast<char*>(body.data()), // NOLINT(cppcoreguidelines-pro-type-const-cast)
        MHD_RESPMEM_MUST_COPY);
    if (response == nullptr) {
        return MHD_NO;
    }
    mhd.AddResponseHeader(response, MHD_HTTP_HEADER_CONTENT_TYPE, contentType);
    if (status == MHD_HTTP_METHOD_NOT_ALLOWED) {
        mhd.AddResponseHeader(response, MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
    }
    const MHD_Result result = mhd.QueueResponse(connection, status, response);
    mhd.DestroyResponse(response);
    return result;
}

} // namespace

struct MetricsServer::State {
    ListenAddress Address;
    MHD_Daemon* Daemon = nullptr;
    std::mutex Lock; // guards Text, and nothing is done while holding it but taking the pointer
    std::shared_ptr<const std::string> Text;

    std::shared_ptr<const std::string> Current() {
        const std::scoped_lock lock(Lock);
        return Text;
    }

    // libmicrohttpd's access handler: called on the server's thread once the
    // request's line and headers are in.
    static MHD_Result Request(void* self, MHD_Connection* connection, const char* url, const char* method,
                              const char* /*version*/, const char* /*uploadData*/,
                              std::size_t* /*uploadSize*/, void** /*requestState*/) {
        const std::string_view verb = method;
        if (verb != MHD_HTTP_METHOD_GET && verb != MHD_HTTP_METHOD_HEAD) {
            return Answer(connection, MHD_HTTP_METHOD_NOT_ALLOWED, "Only GET and HEAD are served here.\n");
        }
        if (url != kPath) {
            return Answer(connection, MHD_HTTP_NOT_FOUND, "Not found; the metrics are at /metrics.\n");
        }
        const auto text = static_cast<State*>(self)->Current();
        if (!text) {
            return Answer(connection, MHD_HTTP_SERVICE_UNAVAILABLE, "No load of the profiles yet.\n");
        }
        return Answer(connection, MHD_HTTP_OK, *text, kContentType);
    }
};

bool MetricsServer::Available() {
    return true;
}

MetricsServer::MetricsServer(const ListenAddress& address, const Limits& limits)
    : m_State(std::make_unique<State>()) {
    ListeningSocket socket(address);
    const Microhttpd* loaded = nullptr;
    try {
        loaded = &LoadMicrohttpd();
    } catch (const FileError& error) {
        throw FileError("cannot listen on " + ListenAddressText(address) + ": " + error.Reason(),
                        error.Reason());
    }
    const Microhttpd& mhd = *loaded;
    const bool v6 = socket.IPv6();
    m_State->Address = address;
    const int fd = socket.Release();
    // One internal thread polls every connection; the access handler runs on it.
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_AUTO;
    if (v6) {
        flags |= MHD_USE_IPv6;
    }
    m_State->Daemon = mhd.StartDaemon(
        flags, address.Port, nullptr, nullptr, &State::Request, m_State.get(), MHD_OPTION_LISTEN_SOCKET, fd,
        MHD_OPTION_CONNECTION_LIMIT, limits.Connections, MHD_OPTION_CONNECTION_MEMORY_LIMIT,
        limits.RequestBytes, MHD_OPTION_CONNECTION_TIMEOUT, limits.IdleSeconds, MHD_OPTION_END);
    if (m_State->Daemon == nullptr) {
        ::close(fd);
        throw FileError("cannot listen on " + ListenAddressText(address) + ": the HTTP server did not start",
                        "the HTTP server did not start");
    }
    if (const auto* info = mhd.GetDaemonInfo(m_State->Daemon, MHD_DAEMON_INFO_BIND_PORT); info != nullptr) {
        m_State->Address.Port = info->port;
    }
}

MetricsServer::~MetricsServer() {
    if (m_State && m_State->Daemon != nullptr) {
        LoadMicrohttpd().StopDaemon(m_State->Daemon);
    }
}

void MetricsServer::Publish(std::string metrics) {
    auto text = std::make_shared<const std::string>(std::move(metrics));
    const std::scoped_lock lock(m_State->Lock);
    m_State->Text = std::move(text);
}

ListenAddress MetricsServer::Address() const {
    return m_State->Address;
}

} // namespace velmar
