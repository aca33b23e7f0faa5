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

constexpr auto kRaw = NetworkProtocol::kRawTcp;
constexpr auto kRfc = NetworkProtocol::kRfc2217;

TEST(NetworkPortName, SplitsSchemeHostAndPortOrSaysWhy) {
    for (const NameCase& c :
         {NameCase{"tcp://192.168.1.50:4001", true, kRaw, "192.168.1.50", 4001},
          NameCase{"rfc2217://buoy-7.local:2217", true, kRfc, "buoy-7.local", 2217},
          NameCase{"rfc2217://[::1]:7000", true, kRfc, "::1", 7000},
          NameCase{"tcp://host:65535", true, kRaw, "host", 65535},
          NameCase{"tcp://host", false, kRaw, "", 0}, NameCase{"tcp://:4001", false, kRaw, "", 0},
          NameCase{"tcp://host:0", false, kRaw, "", 0},
          NameCase{"tcp://host:65536", false, kRaw, "", 0},
          NameCase{"tcp://host:40x1", false, kRaw, "", 0},
          NameCase{"rfc2217://::1:7000", false, kRfc, "", 0},
          // Brackets hold an IPv6 address: "[host]" would not name itself again.
          NameCase{"tcp://[[host]:4001", false, kRaw, "", 0},
          NameCase{"/dev/ttyUSB0", false, kRaw, "", 0}}) {
        SCOPED_TRACE(c.name);
        std::string error;
        const std::optional<NetworkPortName> parsed = ParseNetworkPortName(c.name, error);
        ASSERT_EQ(parsed.has_value(), c.parses);
        if (!parsed) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(parsed->protocol, c.protocol);
        EXPECT_EQ(parsed->host, c.host);
        EXPECT_EQ(parsed->port, c.port);
        // The other protocol's name for the same server, as messages suggest it, parses back.
        const NetworkProtocol other = c.protocol == kRaw ? kRfc : kRaw;
        const std::optional<NetworkPortName> back =
            ParseNetworkPortName(NetworkPortText(other, *parsed), error);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->host, c.host);
    }
}

}  // namespace
}  // namespace brennix
