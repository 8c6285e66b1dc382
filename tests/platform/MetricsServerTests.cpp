// The metrics endpoint over real loopback sockets: what each request gets,
// and the limits that keep a misbehaving client from taking the server.

#include "common/Errors.h"
#include "platform/MetricsServer.h"

#include <arpa/inet.h>
#include <array>
#include <chrono>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>

namespace velmar {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// A client connection to the server's loopback port; reads give up after
// five seconds.
class Client {
public:
    explicit Client(std::uint16_t port) : m_Socket(::socket(AF_INET, SOCK_STREAM, 0)) {
        timeval timeout{5, 0};
        ::setsockopt(m_Socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_Connected = ::connect(m_Socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~Client() { ::close(m_Socket); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool Connected() const { return m_Connected; }
    bool Send(const std::string& bytes) const {
        return ::send(m_Socket, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }
    // Whether the server has sent anything (or closed) within `time`.
    bool Waiting(std::chrono::milliseconds time) const {
        pollfd entry{m_Socket, POLLIN, 0};
        return ::poll(&entry, 1, static_cast<int>(time.count())) > 0;
    }
    // Everything the server sends until it closes the connection.
    std::string ReadAll() const {
        std::string text;
        std::array<char, 4096> buffer{};
        for (ssize_t n = 0; (n = ::recv(m_Socket, buffer.data(), buffer.size(), 0)) > 0;) {
            text.append(buffer.data(), static_cast<std::size_t>(n));
        }
        return text;
    }

private:
    int m_Socket;
    bool m_Connected = false;
};

std::string Request(std::uint16_t port, const std::string& method, const std::string& path,
                    const std::string& headers = "") {
    Client client(port);
    client.Send(method + " " + path + " HTTP/1.1\r\nHost: localhost\r\n" + headers +
                "Connection: close\r\n\r\n");
    return client.ReadAll();
}

MetricsServer::Limits SmallLimits() {
    return {.Connections = 4, .RequestBytes = 4096, .IdleSeconds = 1};
}

TEST(MetricsServer, GetMetricsAnswersThePublishedTextAndOtherRequestsAreRefused) {
    MetricsServer server(ParseListenAddress("127.0.0.1:0"), SmallLimits());
    const std::uint16_t port = server.Address().Port;
    ASSERT_NE(port, 0);
    EXPECT_THAT(Request(port, "GET", "/metrics"), StartsWith("HTTP/1.1 503 "));

    server.Publish("velmar_profiles 8\n");
    const std::string answer = Request(port, "GET", "/metrics");
    EXPECT_THAT(answer, StartsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_THAT(answer, HasSubstr("Content-Type: text/plain; version=0.0.4; charset=utf-8\r\n"));
    EXPECT_THAT(answer, EndsWith("\r\n\r\nvelmar_profiles 8\n"));
    EXPECT_THAT(Request(port, "HEAD", "/metrics"), EndsWith("\r\n\r\n"));

    const std::string post = Request(port, "POST", "/metrics", "Content-Length: 3\r\n");
    EXPECT_THAT(post, StartsWith("HTTP/1.1 405 "));
    EXPECT_THAT(post, HasSubstr("Allow: GET, HEAD\r\n"));
    EXPECT_THAT(Request(port, "DELETE", "/"), StartsWith("HTTP/1.1 405 "));
    EXPECT_THAT(Request(port, "GET", "/"), StartsWith("HTTP/1.1 404 "));
    EXPECT_THAT(Request(port, "GET", "/metrics/x"), StartsWith("HTTP/1.1 404 "));
}

TEST(MetricsServer, OversizedHeadersAreRefusedAndTheServerGoesOn) {
    MetricsServer server(ParseListenAddress("127.0.0.1:0"), SmallLimits());
    server.Publish("x 1\n");
    const std::uint16_t port = server.Address().Port;
    const std::string huge = "X-Filler: " + std::string(std::size_t{1024} * 1024, 'a') + "\r\n";
    EXPECT_THAT(Request(port, "GET", "/metrics", huge), StartsWith("HTTP/1.1 431 "));
    EXPECT_THAT(Request(port, "GET", "/metrics"), StartsWith("HTTP/1.1 200 "));
}

TEST(MetricsServer, ConnectionsBeyondTheLimitWaitUntilIdleOnesAreClosed) {
    MetricsServer server(ParseListenAddress("127.0.0.1:0"), SmallLimits());
    server.Publish("x 1\n");
    const std::uint16_t port = server.Address().Port;
    // Clients that never finish their request take every connection.
    std::vector<std::unique_ptr<Client>> idle;
    for (int i = 0; i < 4; ++i) {
        idle.push_back(std::make_unique<Client>(port));
        idle.back()->Send("GET /metrics HTTP/1.1\r\n");
    }
    const Client fifth(port);
    ASSERT_TRUE(fifth.Connected());
    fifth.Send("GET /metrics HTTP/1.1\r\nConnection: close\r\n\r\n");
    EXPECT_FALSE(fifth.Waiting(std::chrono::milliseconds(300))) << "a fifth connection is not taken up";
    // Silent for longer than IdleSeconds, the four are closed by the server,
    // and the fifth is answered.
    EXPECT_THAT(fifth.ReadAll(), StartsWith("HTTP/1.1 200 "));
    for (const auto& client : idle) {
        EXPECT_EQ(client->ReadAll(), "");
    }
}

TEST(MetricsServer, APortInUseOrAnAddressThatIsNoNumberIsAClearError) {
    ListenAddress taken;
    {
        MetricsServer first(ParseListenAddress("127.0.0.1:0"), SmallLimits());
        taken = first.Address();
        try {
            MetricsServer second(taken, SmallLimits());
            FAIL() << "a second server on " << ListenAddressText(taken);
        } catch (const FileError& error) {
            EXPECT_EQ(error.Reason(), "address already in use");
            EXPECT_THAT(error.what(), HasSubstr("cannot listen on 127.0.0.1:" + std::to_string(taken.Port)));
        }
    }
    // The port is free again once the first server is gone.
    EXPECT_NO_THROW(MetricsServer(taken, SmallLimits()));
    EXPECT_THROW(MetricsServer(ParseListenAddress("example.org:9772"), SmallLimits()), InvalidArgumentError);
}

TEST(MetricsServer, ListensOnIPv6Loopback) {
    try {
        MetricsServer server(ParseListenAddress("[::1]:0"), SmallLimits());
        EXPECT_EQ(server.Address().Host, "::1");
        EXPECT_NE(server.Address().Port, 0);
    } catch (const FileError& error) {
        GTEST_SKIP() << "no IPv6 loopback here: " << error.what();
    }
}

} // namespace
} // namespace velmar
