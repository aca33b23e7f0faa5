#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "sim/block_framer.h"
#include "sim/sim_harness.h"

namespace brennix::sim::test {
namespace {

uint16_t LittleEndian16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                 static_cast<uint8_t>(bytes[at + 1]) << 8);
}

TEST(BlockChecksum, KnownVectors) {
    EXPECT_EQ(BlockChecksum(std::vector<uint8_t>(96, 0)), 0xA596);
    EXPECT_EQ(BlockChecksum(std::vector<uint8_t>{}), 0xA596);
    EXPECT_EQ(BlockChecksum(std::vector<uint8_t>{1, 2, 0xFF}), 0xA596 + 0x102);
    // 258 bytes of 0xFF sum to 0xFEFE: the total wraps modulo 65536.
    EXPECT_EQ(BlockChecksum(std::vector<uint8_t>(258, 0xFF)), (0xA596 + 258 * 0xFF) & 0xFFFF);
}

struct BlockCase {
    const char* command;
    size_t size;
};

class FramedBlocks : public ::testing::TestWithParam<BlockCase> {};

TEST_P(FramedBlocks, ComeAsOkLengthDataChecksumLineEndAndPrompt) {
    SimHarness sim;
    const std::string command = std::string(GetParam().command) + "\r";
    const std::string reply = sim.Exchange(command);
    const size_t size = GetParam().size;
    ASSERT_EQ(reply.size(), command.size() + 4 + 2 + size + 2 + 3);
    size_t at = command.size();
    EXPECT_EQ(reply.substr(at, 4), "OK\r\n");
    at += 4;
    EXPECT_EQ(LittleEndian16(reply, at), size + 4);
    at += 2;
    const std::string data = reply.substr(at, size);
    const unsigned sum = std::accumulate(data.begin(), data.end(), 0u, [](unsigned s, char c) {
        return s + static_cast<uint8_t>(c);
    });
    at += size;
    EXPECT_EQ(LittleEndian16(reply, at), (0xA596 + sum) & 0xFFFF);
    EXPECT_EQ(reply.substr(at + 2), "\r\n>");
}

INSTANTIATE_TEST_SUITE_P(Blocks, FramedBlocks,
                         ::testing::Values(BlockCase{"get Conf", 96}, BlockCase{"get User", 258},
                                           BlockCase{"GET oper", 64}));

TEST(FramedBlocks, WrongLengthFaultSpoilsOnlyTheLengthField) {
    SimHarness sim;
    sim.instrument.GetFaults().wrongBlockLength = true;
    const std::string reply = sim.Exchange("get Conf\r");
    EXPECT_NE(LittleEndian16(reply, 13), 100);
    EXPECT_EQ(reply.size(), 13 + 2 + 96 + 2 + 3u);
}

TEST(FramedBlocks, WrongChecksumFaultSpoilsOnlyTheChecksum) {
    SimHarness sim;
    const std::string good = sim.Exchange("get Oper\r");
    sim.instrument.GetFaults().wrongBlockChecksum = true;
    const std::string bad = sim.Exchange("get Oper\r");
    ASSERT_EQ(bad.size(), good.size());
    const size_t checksumAt = 13 + 2 + 64;
    EXPECT_EQ(bad.substr(0, checksumAt), good.substr(0, checksumAt));
    EXPECT_NE(LittleEndian16(bad, checksumAt), LittleEndian16(good, checksumAt));
}

TEST(FramedBlocks, ShortBlockFaultBreaksOffHalfwayWithNothingAfter) {
    SimHarness sim;
    sim.instrument.GetFaults().shortBlock = true;
    const std::string reply = sim.Exchange("get User\r", 5000);
    EXPECT_EQ(reply.size(), 13 + 2 + 129u);
    EXPECT_EQ(LittleEndian16(reply, 13), 262);
}

TEST(FramedBlocks, UnknownBlockIsAnError) {
    SimHarness sim;
    EXPECT_EQ(sim.Exchange("get Nothing\r"), "get Nothing\rERROR: no such block\r\n>");
}

}  // namespace
}  // namespace brennix::sim::test
