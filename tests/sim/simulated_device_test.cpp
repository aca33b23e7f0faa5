#include "sim/simulated_device.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <string>

#include "support/sim_line.h"

namespace brennix::test {
namespace {

TEST(SimulatedDevice, WaitsOnlyForMissingBytesDeliversBreaksAndMisbehavesOnDemand) {
    SimLine line;
    std::array<uint8_t, 4> buffer{};
    size_t done = 0;
    EXPECT_TRUE(line.link.Read(buffer, done, 0, false));
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(line.clock.TickCount(), SimulatedDevice::kReadTimeoutMs);

    ASSERT_TRUE(line.link.Write("wxyz", 100, false));
    const uint32_t start = line.clock.TickCount();
    EXPECT_TRUE(line.link.Read(buffer, done, 0, false));
    EXPECT_EQ(done, 4u);
    EXPECT_LT(line.clock.TickCount() - start, SimulatedDevice::kReadTimeoutMs);

    ASSERT_TRUE(line.link.Write("abcdef", 100, false));
    line.clock.Advance(50);
    EXPECT_TRUE(line.link.Purge(kPurgeRxClear));
    EXPECT_EQ(line.link.BytesWaiting(), 0u);

    const uint32_t breakStart = line.clock.TickCount();
    ASSERT_TRUE(line.link.SendBreak(300));
    EXPECT_EQ(line.device.BreakTicks(), std::deque<uint32_t>{breakStart + 100});

    line.device.SetWritesRefused(true);
    const uint32_t refusedStart = line.clock.TickCount();
    line.instrument.ClearReceived();
    EXPECT_FALSE(line.link.Write("ver", 50, true));
    EXPECT_EQ(line.clock.TickCount() - refusedStart, 51u);
    EXPECT_EQ(line.link.LastError(), EAGAIN);
    EXPECT_EQ(line.instrument.Received(), "");

    line.device.SetVanished(true);
    line.terminal.SetText("");
    EXPECT_FALSE(line.link.PortExists("SIM"));
    line.link.Revalidate();
    EXPECT_FALSE(line.link.IsOpen());
    EXPECT_EQ(line.terminal.Text(),
              "\r\nDisconnected\r\nConnect to SIM failed: error 2 (No such file or directory)");
}

}  // namespace
}  // namespace brennix::test
