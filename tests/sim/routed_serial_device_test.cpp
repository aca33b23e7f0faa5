#include "sim/routed_serial_device.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/posix_serial_device.h"
#include "sim/simulated_device.h"

namespace brennix {
namespace {

TEST(RoutedSerialDevice, SimGoesToTheSimulatorAndOtherNamesToTheRealPort) {
    constexpr const char* kMissingPort = "/dev/brennix-no-such-port";
    VirtualClock clock;
    sim::SimulatedInstrument instrument;
    PosixSerialDevice real;
    SimulatedDevice simulated(instrument, clock);
    RoutedSerialDevice routed(real, simulated);

    EXPECT_TRUE(routed.Exists("SIM"));
    EXPECT_FALSE(routed.Exists(kMissingPort));
    ASSERT_TRUE(routed.Open("SIM"));
    EXPECT_TRUE(simulated.IsOpen());
    uint32_t count = 0;
    EXPECT_TRUE(routed.BytesWaiting(count));

    EXPECT_FALSE(routed.Open(kMissingPort));
    EXPECT_FALSE(simulated.IsOpen());
    EXPECT_FALSE(routed.IsOpen());
    EXPECT_EQ(routed.LastError(), ENOENT);
}

}  // namespace
}  // namespace brennix
