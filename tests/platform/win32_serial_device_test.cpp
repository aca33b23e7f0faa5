#include "platform/win32_serial_device.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace brennix {
namespace {

using testing::HasSubstr;

// No machine has COM port 250, and NUL is a device that is no serial port.
constexpr const char* kNoPort = "COM250";
constexpr const char* kNoSerialPort = "NUL";

TEST(Win32SerialDevice, RefusesANameThatIsNoPortSayingSo) {
    Win32SerialDevice device;
    EXPECT_FALSE(device.Exists(kNoPort));
    EXPECT_FALSE(device.Open(kNoPort));
    EXPECT_FALSE(device.IsOpen());
    EXPECT_NE(device.LastError(), 0);
    EXPECT_THAT(device.LastErrorMessage(), HasSubstr("no such port"));

    EXPECT_FALSE(device.Open(kNoSerialPort));
    EXPECT_FALSE(device.IsOpen());
    EXPECT_THAT(device.LastErrorMessage(), HasSubstr("not a serial port"));
}

}  // namespace
}  // namespace brennix
