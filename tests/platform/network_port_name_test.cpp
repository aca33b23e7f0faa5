#include "platform/network_port_name.h"

#include <gtest/gtest.h>

#include <string>

namespace brennix {
namespace {

struct NameCase {
    const char* name;
    bool parses;
    NetworkProtocol protocol;
    const char* host;
    uint16_t port;
};

class NetworkPortNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(NetworkPortNameTest, SplitsSchemeHostAndPortOrSaysWhy) {
    const NameCase& c = GetParam();
    std::string error;
    const std::optional<NetworkPortName> parsed = ParseNetworkPortName(c.name, error);
    ASSERT_EQ(parsed.has_value(), c.parses) << c.name;
    if (!parsed) {
        EXPECT_FALSE(error.empty());
        return;
    }
    EXPECT_EQ(parsed->protocol, c.protocol);
    EXPECT_EQ(parsed->host, c.host);
    EXPECT_EQ(parsed->port, c.port);
    // The other protocol's name for the same server, as messages suggest it, parses back.
    const NetworkProtocol other = c.protocol == NetworkProtocol::kRawTcp ? NetworkProtocol::kRfc2217
                                                                         : NetworkProtocol::kRawTcp;
    const std::optional<NetworkPortName> back =
        ParseNetworkPortName(NetworkPortText(other, *parsed), error);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->host, c.host);
}

constexpr auto kRaw = NetworkProtocol::kRawTcp;
constexpr auto kRfc = NetworkProtocol::kRfc2217;

INSTANTIATE_TEST_SUITE_P(
    Names, NetworkPortNameTest,
    testing::Values(NameCase{"tcp://192.168.1.50:4001", true, kRaw, "192.168.1.50", 4001},
                    NameCase{"rfc2217://buoy-7.local:2217", true, kRfc, "buoy-7.local", 2217},
                    NameCase{"rfc2217://[::1]:7000", true, kRfc, "::1", 7000},
                    NameCase{"tcp://host:65535", true, kRaw, "host", 65535},
                    NameCase{"tcp://host", false, kRaw, "", 0},
                    NameCase{"tcp://:4001", false, kRaw, "", 0},
                    NameCase{"tcp://host:0", false, kRaw, "", 0},
                    NameCase{"tcp://host:65536", false, kRaw, "", 0},
                    NameCase{"tcp://host:40x1", false, kRaw, "", 0},
                    NameCase{"rfc2217://::1:7000", false, kRfc, "", 0},
                    // Brackets hold an IPv6 address: "[host]" would not name itself again.
                    NameCase{"tcp://[[host]:4001", false, kRaw, "", 0},
                    NameCase{"/dev/ttyUSB0", false, kRaw, "", 0}));

}  // namespace
}  // namespace brennix
