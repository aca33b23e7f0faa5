#include "platform/routed_serial_device.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/posix_serial_device.h"
#include "platform/simulated_device.h"

namespace brennix {
namespace {

constexpr const char* kMissingPort = "/dev/brennix-no-such-port";

class RoutedSerialDeviceTest : public testing::Test {
  protected:
    VirtualClock clock_;
    sim::SimulatedInstrument instrument_;
    PosixSerialDevice real_;
    SimulatedDevice simulated_{instrument_, clock_};
    RoutedSerialDevice routed_{real_, simulated_};
};

TEST_F(RoutedSerialDeviceTest, SimGoesToTheSimulatedInstrument) {
    ASSERT_TRUE(routed_.Open("SIM"));
    EXPECT_TRUE(simulated_.IsOpen());
    EXPECT_TRUE(routed_.IsOpen());
    SerialState state;
    EXPECT_TRUE(routed_.GetState(state));

    routed_.Close();
    EXPECT_FALSE(simulated_.IsOpen());
}

TEST_F(RoutedSerialDeviceTest, OtherNamesGoToTheRealPort) {
    ASSERT_TRUE(routed_.Open("SIM"));
    EXPECT_FALSE(routed_.Open(kMissingPort));
    EXPECT_FALSE(simulated_.IsOpen());
    EXPECT_FALSE(routed_.IsOpen());
    EXPECT_EQ(routed_.LastError(), ENOENT);
}

TEST_F(RoutedSerialDeviceTest, ExistsAsksTheDeviceOfThatName) {
    EXPECT_TRUE(routed_.Exists("SIM"));
    EXPECT_FALSE(routed_.Exists(kMissingPort));
    EXPECT_EQ(routed_.LastError(), ENOENT);

    ASSERT_TRUE(routed_.Open("SIM"));
    EXPECT_FALSE(routed_.Exists(kMissingPort));
    uint32_t count = 0;
    EXPECT_TRUE(routed_.BytesWaiting(count));
}

}  // namespace
}  // namespace brennix
