#include "platform/Process.h"

#include "common/CodePage.h"
#include "common/FileSystem.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace velmar {

namespace {

std::string ParentFolder(const std::filesystem::path& file) {
    auto folder = file.parent_path();
    if (folder.empty()) {
        std::error_code error;
        folder = std::filesystem::current_path(error);
    }
    return PathToUtf8(folder);
}

#if !defined(_WIN32) && !defined(__APPLE__)

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
#ifdef __linux__
        if (ConnectLocal(path, true)) {
            return true;
        }
#endif
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

#endif

} // namespace

std::string ExecutableFolder(const char* argv0) {
    std::error_code error;
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length > 0 && length < buffer.size()) {
        buffer.resize(length);
        return ParentFolder(std::filesystem::path(buffer));
    }
#else
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && self.is_absolute()) {
        return ParentFolder(self);
    }
#endif
    if (argv0 != nullptr && *argv0 != '\0') {
        const auto absolute = std::filesystem::absolute(PathFromUtf8(argv0), error);
        if (!error) {
            return ParentFolder(absolute);
        }
    }
    return PathToUtf8(std::filesystem::current_path(error));
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    std::vector<std::string> arguments;
#ifdef _WIN32
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide != nullptr) {
        for (int i = 1; i < count; ++i) {
            arguments.push_back(WideToUtf8(wide[i]));
        }
        LocalFree(static_cast<HLOCAL>(wide));
        return arguments;
    }
#endif
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    return arguments;
}

std::vector<std::string> StartupArguments([[maybe_unused]] const std::vector<std::string>& arguments) {
#ifdef _WIN32
    std::string text = CommandLineAfterProgramName(WideToUtf8(GetCommandLineW()));
    if (text.empty()) {
        return {};
    }
    return {std::move(text)};
#else
    return arguments;
#endif
}

std::string CommandLineAfterProgramName(std::string_view commandLine) {
    std::size_t end = 0;
    if (!commandLine.empty() && commandLine.front() == '"') {
        end = commandLine.find('"', 1);
        end = end == std::string_view::npos ? commandLine.size() : end + 1;
    } else {
        end = std::min(commandLine.find_first_of(" \t"), commandLine.size());
    }
    const std::size_t rest = commandLine.find_first_not_of(" \t", end);
    return rest == std::string_view::npos ? std::string() : std::string(commandLine.substr(rest));
}

std::string CanonicalFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(PathFromUtf8(folder), error);
    if (error) {
        path = PathFromUtf8(folder);
    }
    auto canonical = std::filesystem::weakly_canonical(path, error);
    if (error) {
        canonical = path.lexically_normal();
    }
    std::string text = PathToUtf8(canonical);
    while (text.size() > 1 && (text.back() == '/' || text.back() == kPathSeparator) &&
           text != PathToUtf8(canonical.root_path())) {
        text.pop_back();
    }
    return text;
}

std::optional<std::string> ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

GraphicalSession ProbeGraphicalSession([[maybe_unused]] const EnvironmentLookup& environment) {
#if defined(_WIN32) || defined(__APPLE__)
    return {DisplayState::Reachable, {}, {}};
#else
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
#endif
}

HeldStandardError::HeldStandardError() {
#ifndef _WIN32
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        return;
    }
    m_Held = ::dup(::fileno(file));
    std::fclose(file);
    std::fflush(stderr);
    m_Saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (m_Held < 0 || m_Saved < 0 || ::dup2(m_Held, STDERR_FILENO) < 0) {
        Restore();
    }
#endif
}

HeldStandardError::~HeldStandardError() {
    Restore();
#ifndef _WIN32
    if (m_Held >= 0) {
        ::close(m_Held);
    }
#endif
}

void HeldStandardError::Restore() {
#ifndef _WIN32
    std::fflush(stderr);
    if (m_Saved >= 0) {
        ::dup2(m_Saved, STDERR_FILENO);
        ::close(m_Saved);
        m_Saved = -1;
    }
#endif
}

std::string HeldStandardError::Text() const {
    std::string text;
#ifndef _WIN32
    if (m_Held < 0) {
        return text;
    }
    std::fflush(stderr);
    std::array<char, 4096> buffer{};
    off_t offset = 0;
    for (ssize_t n = 0; (n = ::pread(m_Held, buffer.data(), buffer.size(), offset)) > 0; offset += n) {
        text.append(buffer.data(), static_cast<std::size_t>(n));
    }
#endif
    return text;
}

void HeldStandardError::Release() {
    const std::string text = Text();
    Restore();
#ifndef _WIN32
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (m_Held >= 0) {
        ::close(m_Held);
        m_Held = -1;
    }
#endif
}

std::string ExecFirst(const std::vector<std::string>& candidates, const std::vector<std::string>& arguments) {
#ifdef _WIN32
    (void)arguments;
    return "cannot start " + (candidates.empty() ? std::string("another program") : candidates.front()) +
           ": not supported on Windows";
#else
    std::vector<std::string> texts = arguments;
    std::vector<char*> argv;
    argv.reserve(texts.size() + 1);
    for (auto& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    for (const auto& candidate : candidates) {
        ::execv(candidate.c_str(), argv.data());
        if (errno != ENOENT && errno != ENOTDIR) {
            return "cannot start " + candidate + ": " + std::strerror(errno);
        }
    }
    std::string tried;
    for (const auto& candidate : candidates) {
        tried += (tried.empty() ? "" : " or ") + candidate;
    }
    return "cannot find " + tried;
#endif
}

} // namespace velmar
