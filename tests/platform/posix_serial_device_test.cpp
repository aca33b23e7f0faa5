#include "platform/posix_serial_device.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "platform/pty_far_end.h"

namespace brennix {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;
using test::kPatience;
using test::PtyFarEnd;

constexpr uint32_t kShortTimeoutMs = 20;

class PosixSerialDeviceTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(far_.PortPath().empty()) << "no pseudo-terminal available";
        ASSERT_TRUE(device_.Open(far_.PortPath())) << device_.LastErrorMessage();
    }

    // The pty moves bytes to the other side asynchronously; waits until count are queued.
    bool AwaitWaiting(uint32_t count) {
        const auto deadline = steady_clock::now() + kPatience;
        uint32_t waiting = 0;
        while (device_.BytesWaiting(waiting) && waiting < count && steady_clock::now() < deadline) {
            ::usleep(1000);
        }
        return waiting == count;
    }

    PtyFarEnd far_;
    PosixSerialDevice device_{kShortTimeoutMs, kShortTimeoutMs};
};

std::vector<uint8_t> AllByteValues() {
    std::vector<uint8_t> bytes(256);
    std::iota(bytes.begin(), bytes.end(), 0);
    return bytes;
}

TEST_F(PosixSerialDeviceTest, CarriesEveryByteValueBothWaysUnchanged) {
    const std::vector<uint8_t> all = AllByteValues();
    ASSERT_TRUE(far_.Send(all));
    ASSERT_TRUE(AwaitWaiting(256));
    std::vector<uint8_t> received(256);
    size_t done = 0;
    EXPECT_TRUE(device_.Read(received.data(), received.size(), done));
    EXPECT_EQ(done, 256u);
    EXPECT_EQ(received, all);

    ASSERT_TRUE(device_.Write(all.data(), all.size(), done));
    EXPECT_EQ(done, 256u);
    EXPECT_EQ(far_.Receive(256), all);
}

TEST_F(PosixSerialDeviceTest, ShortReadReturnsWhatCameAfterTheReadTimeout) {
    ASSERT_TRUE(far_.Send({'a', 'b', 'c'}));
    ASSERT_TRUE(AwaitWaiting(3));
    std::vector<uint8_t> buffer(10);
    size_t done = 0;
    const auto start = steady_clock::now();

    EXPECT_TRUE(device_.Read(buffer.data(), buffer.size(), done));
    const auto took = steady_clock::now() - start;
    EXPECT_EQ(done, 3u);
    EXPECT_GE(took, milliseconds(kShortTimeoutMs - 1));
    EXPECT_LT(took, kPatience);
}

TEST_F(PosixSerialDeviceTest, FullLineBoundsTheWrite) {
    const std::vector<uint8_t> flood(1 << 20, 'x');
    size_t done = 0;
    const auto start = steady_clock::now();

    EXPECT_TRUE(device_.Write(flood.data(), flood.size(), done));
    EXPECT_LT(done, flood.size());
    EXPECT_LT(steady_clock::now() - start, kPatience);
}

TEST_F(PosixSerialDeviceTest, QueueCountsAndReceivePurge) {
    ASSERT_TRUE(far_.Send({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(AwaitWaiting(10));
    uint32_t pending = 99;
    EXPECT_TRUE(device_.BytesPending(pending));
    EXPECT_TRUE(device_.Purge(kPurgeRxClear | kPurgeTxClear));
    uint32_t waiting = 99;
    EXPECT_TRUE(device_.BytesWaiting(waiting));
    EXPECT_EQ(waiting, 0u);
}

TEST_F(PosixSerialDeviceTest, BreakIsAcceptedOnAPseudoTerminal) {
    EXPECT_TRUE(device_.SetBreak(true));
    EXPECT_TRUE(device_.SetBreak(false));
}

TEST_F(PosixSerialDeviceTest, ClosedFarEndIsAFailureNotSilence) {
    far_.Close();
    uint32_t count = 0;
    SerialState state;
    uint8_t byte = 0;
    size_t done = 0;

    EXPECT_FALSE(device_.BytesWaiting(count));
    EXPECT_EQ(device_.LastError(), EIO);
    EXPECT_FALSE(device_.BytesPending(count));
    EXPECT_FALSE(device_.GetState(state));
    EXPECT_FALSE(device_.Read(&byte, 1, done));
    EXPECT_FALSE(device_.Write(&byte, 1, done));
}

TEST_F(PosixSerialDeviceTest, BusyPortIsRefusedButExists) {
    PosixSerialDevice second;
    EXPECT_FALSE(second.Open(far_.PortPath()));
    EXPECT_EQ(second.LastError(), EBUSY);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_TRUE(second.Exists(far_.PortPath()));

    device_.Close();
    EXPECT_TRUE(second.Open(far_.PortPath())) << second.LastErrorMessage();
}

TEST_F(PosixSerialDeviceTest, ReopeningKeepsThePortsRate) {
    ASSERT_TRUE(device_.SetState({4800, 8, kNoParity, kTwoStopBits, false}));
    device_.Close();
    ASSERT_TRUE(device_.Open(far_.PortPath()));
    SerialState state;
    ASSERT_TRUE(device_.GetState(state));
    EXPECT_EQ(state.baudRate, 4800u);
    EXPECT_EQ(state.stopBits, kTwoStopBits);
}

TEST(PosixSerialDevice, MissingPortIsRefusedWithItsReason) {
    PosixSerialDevice device;
    const std::string path = "/dev/brennix-no-such-port";

    EXPECT_FALSE(device.Open(path));
    EXPECT_EQ(device.LastError(), ENOENT);
    EXPECT_EQ(device.LastErrorMessage(), "No such file or directory");
    EXPECT_FALSE(device.Exists(path));
    SerialState state;
    EXPECT_FALSE(device.GetState(state));
}

class PosixSerialStateTest : public PosixSerialDeviceTest,
                             public testing::WithParamInterface<SerialState> {};

TEST_P(PosixSerialStateTest, SettingsReadBackAsSet) {
    const SerialState wanted = GetParam();
    ASSERT_TRUE(device_.SetState(wanted)) << device_.LastErrorMessage();
    SerialState actual;
    ASSERT_TRUE(device_.GetState(actual));
    EXPECT_EQ(actual.baudRate, wanted.baudRate);
    EXPECT_EQ(actual.dataBits, wanted.dataBits);
    EXPECT_EQ(actual.parity, wanted.parity);
    EXPECT_EQ(actual.stopBits, wanted.stopBits);
    EXPECT_EQ(actual.parityCheck, wanted.parityCheck);
}

// A pseudo-terminal always carries 8 data bits without parity, so only rates and stop bits vary.
INSTANTIATE_TEST_SUITE_P(RatesAndStopBits, PosixSerialStateTest,
                         testing::Values(SerialState{300, 8, kNoParity, kOneStopBit, false},
                                         SerialState{1200, 8, kNoParity, kTwoStopBits, true},
                                         SerialState{9600, 8, kNoParity, kOneStopBit, false},
                                         SerialState{57600, 8, kNoParity, kTwoStopBits, false},
                                         SerialState{115200, 8, kNoParity, kOneStopBit, true},
                                         SerialState{921600, 8, kNoParity, kOneStopBit, false}));

TEST_F(PosixSerialDeviceTest, UnsupportedSettingsAreRefused) {
    for (const SerialState& bad :
         {SerialState{12345, 8, kNoParity, kOneStopBit, false},
          SerialState{9600, 9, kNoParity, kOneStopBit, false},
          SerialState{9600, 8, 7, kOneStopBit, false}, SerialState{9600, 8, kNoParity, 1, false}}) {
        EXPECT_FALSE(device_.SetState(bad));
        EXPECT_EQ(device_.LastError(), EINVAL);
    }
}

}  // namespace
}  // namespace brennix
