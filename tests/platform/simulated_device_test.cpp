#include "platform/simulated_device.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <string>

#include "support/sim_line.h"

namespace brennix::test {
namespace {

TEST(SimulatedDevice, OpensOnlyAsSim) {
    VirtualClock clock;
    sim::SimulatedInstrument instrument;
    SimulatedDevice device(instrument, clock);

    EXPECT_TRUE(device.Exists("SIM"));
    EXPECT_FALSE(device.Exists("/dev/ttyS0"));
    EXPECT_FALSE(device.Open("/dev/ttyS0"));
    EXPECT_EQ(device.LastError(), ENOENT);
    EXPECT_TRUE(device.Open("SIM"));
    EXPECT_FALSE(device.Open("SIM"));
    EXPECT_EQ(device.LastError(), EBUSY);
}

TEST(SimulatedDevice, InstrumentEchoesWhatTheLinkWrites) {
    SimLine line;
    std::array<char, 32> buffer{};

    ASSERT_TRUE(line.link.Write("abc", 100, false));
    EXPECT_TRUE(line.link.ReadUntil(buffer, "abc", 100, 0, true));
    EXPECT_EQ(line.instrument.Received(), "abc");
    EXPECT_EQ(line.terminal.Text(), "abc");
}

TEST(SimulatedDevice, InstrumentHearsOnlyAtItsOwnRate) {
    SimLine line;
    std::array<char, 32> buffer{};

    ASSERT_TRUE(line.link.SetBaudRate(19200));
    ASSERT_TRUE(line.link.Write("abc", 100, false));
    EXPECT_FALSE(line.link.ReadUntil(buffer, "abc", 100, 0, false));

    ASSERT_TRUE(line.link.SetBaudRate(9600));
    ASSERT_TRUE(line.link.Write("abc", 100, false));
    EXPECT_TRUE(line.link.ReadUntil(buffer, "abc", 100, 0, false));
}

TEST(SimulatedDevice, ShortImmediateReadWaitsTheDriverTimeOut) {
    SimLine line;
    std::array<uint8_t, 4> buffer{};
    size_t done = 0;
    const uint32_t start = line.clock.TickCount();

    EXPECT_TRUE(line.link.Read(buffer, done, 0, false));
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(line.clock.TickCount() - start, SimulatedDevice::kReadTimeoutMs);
}

TEST(SimulatedDevice, ImmediateReadReturnsOnceTheBytesArrive) {
    SimLine line;
    std::array<uint8_t, 4> buffer{};
    size_t done = 0;
    ASSERT_TRUE(line.link.Write("wxyz", 100, false));
    const uint32_t start = line.clock.TickCount();

    EXPECT_TRUE(line.link.Read(buffer, done, 0, false));
    EXPECT_EQ(done, 4u);
    EXPECT_LT(line.clock.TickCount() - start, SimulatedDevice::kReadTimeoutMs);
}

TEST(SimulatedDevice, ReceivePurgeDropsWhatTheInstrumentAlreadySent) {
    SimLine line;
    ASSERT_TRUE(line.link.Write("abcdef", 100, false));
    line.clock.Advance(50);

    EXPECT_TRUE(line.link.Purge(kPurgeRxClear));
    EXPECT_EQ(line.link.BytesWaiting(), 0u);
}

TEST(SimulatedDevice, RecordsTheTickOfEachBreak) {
    SimLine line(sim::Settings{}, 700);
    ASSERT_TRUE(line.link.SendBreak(300));
    ASSERT_EQ(line.device.BreakTicks().size(), 1u);
    EXPECT_EQ(line.device.BreakTicks().front(), 800u);
}

TEST(SimulatedDevice, RefusedWritesTimeOut) {
    SimLine line;
    line.device.SetWritesRefused(true);
    const uint32_t start = line.clock.TickCount();

    EXPECT_FALSE(line.link.Write("ver", 50, true));
    EXPECT_EQ(line.clock.TickCount() - start, 51u);
    EXPECT_EQ(line.link.LastError(), EAGAIN);
    EXPECT_EQ(line.instrument.Received(), "");
}

TEST(SimulatedDevice, VanishedPortFailsEverythingAndCannotBeReopened) {
    SimLine line;
    line.device.SetVanished(true);
    uint32_t count = 0;

    EXPECT_FALSE(line.device.BytesWaiting(count));
    EXPECT_EQ(line.device.LastError(), EIO);
    EXPECT_FALSE(line.link.PortExists("SIM"));
    line.link.Revalidate();
    EXPECT_FALSE(line.link.IsOpen());
    EXPECT_EQ(line.terminal.Text(), "\r\nDisconnected\r\nConnect to SIM failed: error 2");
}

}  // namespace
}  // namespace brennix::test
