// What a systemd unit of Type=notify hears: the messages arrive as datagrams
// on the socket that NOTIFY_SOCKET names, as systemd would receive them.

#include "platform/ServiceNotifier.h"
#include "tests/support/TestFiles.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace velmar {
namespace {

class ServiceManagerSocket {
public:
    ServiceManagerSocket() : m_Socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK, 0)) {
        const std::string path = m_Dir.File("notify");
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::copy_n(path.begin(), std::min(path.size(), sizeof address.sun_path - 1), address.sun_path);
        EXPECT_EQ(::bind(m_Socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ::setenv("NOTIFY_SOCKET", path.c_str(), 1);
    }
    ~ServiceManagerSocket() {
        ::unsetenv("NOTIFY_SOCKET");
        ::unsetenv("WATCHDOG_USEC");
        ::close(m_Socket);
    }
    ServiceManagerSocket(const ServiceManagerSocket&) = delete;
    ServiceManagerSocket& operator=(const ServiceManagerSocket&) = delete;

    // The next message, or "" when none is waiting.
    std::string Next() const {
        std::array<char, 4096> buffer{};
        const ssize_t n = ::recv(m_Socket, buffer.data(), buffer.size(), 0);
        return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
    }

private:
    test::TempDir m_Dir;
    int m_Socket;
};

TEST(ServiceNotifier, ReadyStatusWatchdogAndStoppingReachTheServiceManager) {
    const ServiceManagerSocket manager;
    NotifyServiceReady("8 profiles, 3 active");
    EXPECT_EQ(manager.Next(), "READY=1\nSTATUS=8 profiles, 3 active");
    NotifyServiceStatus("Profile_0002.dat: permission denied\nsecond line");
    EXPECT_EQ(manager.Next(), "STATUS=Profile_0002.dat: permission denied second line");

    NotifyServiceAlive();
    EXPECT_EQ(manager.Next(), "") << "no watchdog was asked for";
    ::setenv("WATCHDOG_USEC", "30000000", 1);
    NotifyServiceAlive();
    EXPECT_EQ(manager.Next(), "WATCHDOG=1");

    NotifyServiceStopping();
    EXPECT_EQ(manager.Next(), "STOPPING=1");
}

TEST(ServiceNotifier, WithoutAServiceManagerNothingHappens) {
    ::unsetenv("NOTIFY_SOCKET");
    NotifyServiceReady("x");
    NotifyServiceAlive();
    SUCCEED();
}

} // namespace
} // namespace velmar
