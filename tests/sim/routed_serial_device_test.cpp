#include "link/routed_serial_device.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/network_port_name.h"
#include "platform/network_serial_device.h"
#include "platform/posix_serial_device.h"
#include "sim/simulated_device.h"
#include "sim/simulated_instrument.h"

namespace brennix {
namespace {

TEST(RoutedSerialDevice, SimGoesToTheSimulatorNetworkNamesToTheirsAndOtherNamesToTheRealPort) {
    constexpr const char* kMissingPort = "/dev/brennix-no-such-port";
    VirtualClock clock;
    sim::SimulatedInstrument instrument;
    PosixSerialDevice real;
    SimulatedDevice simulated(instrument, clock);
    NetworkSerialDevice network;
    RoutedSerialDevice routed(real, simulated);
    routed.AddRoute(&IsNetworkPortName, network);

    EXPECT_TRUE(routed.Exists("SIM"));
    EXPECT_FALSE(routed.Exists(kMissingPort));
    EXPECT_TRUE(routed.Exists("rfc2217://buoy-7:4002"));
    EXPECT_FALSE(routed.Exists("tcp://buoy-7"));
    EXPECT_EQ(routed.LastError(), EINVAL);
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
