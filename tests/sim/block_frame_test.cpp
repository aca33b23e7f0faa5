#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "sim/sim_harness.h"

namespace brennix::sim::test {
namespace {

uint16_t LittleEndian16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                 static_cast<uint8_t>(bytes[at + 1]) << 8);
}

// "get X\r" is echoed, then "OK\r\n", the length (data + 4), the data, the checksum, "\r\n>".
TEST(FramedBlocks, ComeWithLengthChecksumAndPrompt) {
    for (const auto& [command, size] :
         {std::pair{"get Conf\r", 96}, std::pair{"get User\r", 258}, std::pair{"GET oper\r", 64}}) {
        SimHarness sim;
        const std::string reply = sim.Exchange(command);
        ASSERT_EQ(reply.size(), 9 + 4 + 2 + size + 2 + 3u) << command;
        EXPECT_EQ(reply.substr(9, 4), "OK\r\n");
        EXPECT_EQ(LittleEndian16(reply, 13), size + 4);
        const unsigned sum = std::accumulate(reply.begin() + 15, reply.begin() + 15 + size, 0u,
                                             [](unsigned s, char c) { return s + uint8_t(c); });
        EXPECT_EQ(LittleEndian16(reply, 15 + size), (0xA596 + sum) & 0xFFFF) << command;
        EXPECT_EQ(reply.substr(17 + size), "\r\n>");
    }
}

TEST(FramedBlocks, AWrongChecksumSpoilsOnlyTheChecksum) {
    SimHarness sim;
    const std::string good = sim.Exchange("get Oper\r");
    sim.instrument.GetFaults().wrongBlockChecksum = true;
    const std::string badSum = sim.Exchange("get Oper\r");
    EXPECT_EQ(badSum.substr(0, 79), good.substr(0, 79));
    EXPECT_NE(badSum.substr(79), good.substr(79));
    EXPECT_EQ(badSum.size(), good.size());
}

}  // namespace
}  // namespace brennix::sim::test
