#include "platform/GraphicalSession.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace velmar {

namespace {

// Linux keeps an abstract namespace of socket names (a leading zero byte),
// where X servers listen beside their socket file.
#ifdef __linux__
constexpr bool kAbstractSockets = true;
#else
constexpr bool kAbstractSockets = false;
#endif

// A socket that closes itself.
class Socket {
public:
    explicit Socket(int fd) : m_Fd(fd) {}
    ~Socket() {
        if (m_Fd >= 0) {
            ::close(m_Fd);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int Fd() const { return m_Fd; }

private:
    int m_Fd;
};

constexpr int kRemoteTimeoutMs = 2000;
constexpr int kX11BasePort = 6000;

// Connects without blocking for longer than the timeout; true when the peer
// accepted.
bool ConnectWithin(int fd, const sockaddr* address, socklen_t length, int timeoutMs) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    if (::connect(fd, address, length) == 0) {
        return true;
    }
    if (errno != EINPROGRESS && errno != EAGAIN) {
        return false;
    }
    pollfd wait{fd, POLLOUT, 0};
    if (::poll(&wait, 1, timeoutMs) != 1) {
        return false;
    }
    int error = 0;
    socklen_t size = sizeof(error);
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

// A Unix-domain socket by path; `abstract` puts it into Linux's abstract
// namespace (a leading zero byte), where X servers listen as well.
bool ConnectLocal(const std::string& path, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (path.empty() || path.size() + offset >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path + offset, path.data(), path.size());
    const auto length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
    const Socket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return socket.Fd() >= 0 &&
           ConnectWithin(socket.Fd(), reinterpret_cast<const sockaddr*>(&address), length, kRemoteTimeoutMs);
}

bool ConnectTcp(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        return false;
    }
    bool connected = false;
    for (const addrinfo* a = found; a != nullptr && !connected; a = a->ai_next) {
        const Socket socket(::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol));
        connected =
            socket.Fd() >= 0 && ConnectWithin(socket.Fd(), a->ai_addr, a->ai_addrlen, kRemoteTimeoutMs);
    }
    ::freeaddrinfo(found);
    return connected;
}

// DISPLAY is [PROTOCOL/][HOST]:NUMBER[.SCREEN]. No host, "unix" or the
// "unix" protocol mean the local socket /tmp/.X11-unix/XNUMBER; another host
// means TCP port 6000 + NUMBER. A value that names a socket path ("/...:N", as
// XQuartz sets it) is that path.
bool X11Answers(const std::string& display) {
    if (display.front() == '/') {
        return ConnectLocal(display, false);
    }
    const auto colon = display.rfind(':');
    if (colon == std::string::npos) {
        return false;
    }
    std::string host = display.substr(0, colon);
    std::string protocol;
    if (const auto slash = host.find('/'); slash != std::string::npos) {
        protocol = host.substr(0, slash);
        host.erase(0, slash + 1);
    }
    const std::string rest = display.substr(colon + 1);
    const std::string number = rest.substr(0, rest.find('.'));
    if (number.empty() || number.size() > 5 ||
        !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    if (host.empty() || host == "unix" || protocol == "unix") {
        const std::string path = "/tmp/.X11-unix/X" + number;
        if (kAbstractSockets && ConnectLocal(path, true)) {
            return true;
        }
        return ConnectLocal(path, false);
    }
    return ConnectTcp(host, kX11BasePort + std::stoi(number));
}

// WAYLAND_DISPLAY is a socket name in XDG_RUNTIME_DIR, or an absolute path.
bool WaylandAnswers(const std::string& name, const EnvironmentLookup& environment) {
    if (name.front() == '/') {
        return ConnectLocal(name, false);
    }
    const auto runtime = environment("XDG_RUNTIME_DIR");
    return runtime && !runtime->empty() && ConnectLocal(*runtime + "/" + name, false);
}

} // namespace

GraphicalSession ProbeGraphicalSession(const EnvironmentLookup& environment) {
    const auto nonEmpty = [&](const char* name) {
        auto value = environment(name);
        return value && !value->empty() ? value : std::nullopt;
    };
    const auto x11 = nonEmpty("DISPLAY");
    const auto wayland = nonEmpty("WAYLAND_DISPLAY");
    if (!x11 && !wayland) {
        return {};
    }
    const bool x11Answers = x11 && X11Answers(*x11);
    const bool waylandAnswers = wayland && WaylandAnswers(*wayland, environment);
    const auto name = [&](bool withX11, bool withWayland) {
        std::string names = withX11 ? "the display " + *x11 : "";
        if (withWayland) {
            names += (names.empty() ? "" : " or ") + std::string("the Wayland display ") + *wayland;
        }
        return names;
    };
    if (!x11Answers && !waylandAnswers) {
        return {DisplayState::Unreachable, name(x11.has_value(), wayland.has_value()), {}};
    }
    std::string platform;
    if (x11Answers != waylandAnswers) {
        platform = x11Answers ? "xcb" : "wayland";
    }
    return {DisplayState::Reachable, name(x11Answers, waylandAnswers), platform};
}

} // namespace velmar
