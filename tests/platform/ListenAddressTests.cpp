// How --metrics-listen reads its address: loopback unless an address is given.

#include "common/Errors.h"
#include "platform/MetricsServer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmar {
namespace {

TEST(ListenAddress, LoopbackUnlessAnAddressIsGiven) {
    struct Case {
        std::string Text;
        ListenAddress Expected;
    };
    const std::vector<Case> cases = {
        {"9772", {"127.0.0.1", 9772}},           {":9772", {"127.0.0.1", 9772}},
        {"127.0.0.1:9772", {"127.0.0.1", 9772}}, {"localhost:9772", {"127.0.0.1", 9772}},
        {"0.0.0.0:80", {"0.0.0.0", 80}},         {"192.0.2.7:0", {"192.0.2.7", 0}},
        {"[::1]:9772", {"::1", 9772}},           {"[::]:65535", {"::", 65535}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseListenAddress(c.Text), c.Expected) << c.Text;
    }
    EXPECT_EQ(ListenAddressText({"::1", 9772}), "[::1]:9772");
    EXPECT_EQ(ListenAddressText({"127.0.0.1", 9772}), "127.0.0.1:9772");
}

TEST(ListenAddress, MalformedTextsAreRefusedByName) {
    for (const char* text :
         {"", ":", "9772x", "65536", "-1", "127.0.0.1:", "::1:9772", "[::1]9772", "[::1", "[]:80"}) {
        try {
            ParseListenAddress(text);
            ADD_FAILURE() << "accepted \"" << text << "\"";
        } catch (const InvalidArgumentError& error) {
            EXPECT_NE(std::string(error.what()).find("\"" + std::string(text) + "\""), std::string::npos)
                << error.what();
        }
    }
}

} // namespace
} // namespace velmar
