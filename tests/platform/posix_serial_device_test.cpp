#include "platform/posix_serial_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/exit_signals.h"
#include "platform/port_users.h"

namespace brennix {
namespace {

using std::chrono::steady_clock;
using testing::HasSubstr;

// How long a test waits for the kernel to move bytes before it gives up.
constexpr std::chrono::milliseconds kPatience{1000};
constexpr uint32_t kTimeoutMs = 20;

// Whether the tty's exclusive mode is set, which would lock every other (unprivileged) user out.
// The test runs privileged, so it can look even while the mode is on.
bool ExclusiveModeOn(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    int on = -1;
    const bool asked = fd >= 0 && ::ioctl(fd, TIOCGEXCL, &on) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return !asked || on != 0;
}

// The device under test opens the near end of a pseudo-terminal; the test plays the far end.
class PosixSerialDeviceTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_GE(far_, 0) << "no pseudo-terminal available";
        ASSERT_TRUE(grantpt(far_) == 0 && unlockpt(far_) == 0);
        path_ = ptsname(far_);
        ASSERT_TRUE(device_.Open(path_)) << device_.LastErrorMessage();
    }
    void TearDown() override {
        if (far_ >= 0) {
            ::close(far_);
        }
    }
    bool Send(const std::vector<uint8_t>& bytes) {
        return ::write(far_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // Collects count bytes at the far end, or what came within the patience.
    std::vector<uint8_t> Receive(size_t count) {
        std::vector<uint8_t> bytes(count);
        size_t got = 0;
        const auto deadline = steady_clock::now() + kPatience;
        for (pollfd entry{far_, POLLIN, 0}; got < count && steady_clock::now() < deadline;) {
            if (::poll(&entry, 1, 10) > 0) {
                got += std::max<ssize_t>(::read(far_, bytes.data() + got, count - got), 0);
            }
        }
        bytes.resize(got);
        return bytes;
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

    int far_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    std::string path_;
    PosixSerialDevice device_{kTimeoutMs, kTimeoutMs, testing::TempDir()};
};

TEST_F(PosixSerialDeviceTest, CarriesEveryByteValueBothWaysCountsAndPurgesTheQueue) {
    std::vector<uint8_t> all(256);
    std::iota(all.begin(), all.end(), 0);
    ASSERT_TRUE(Send(all));
    ASSERT_TRUE(AwaitWaiting(256));
    std::vector<uint8_t> received(256);
    size_t done = 0;
    EXPECT_TRUE(device_.Read(received.data(), received.size(), done));
    EXPECT_EQ(received, all);

    // What a pseudo-terminal was given has reached its far end: a purge of the transmit side, as
    // every wake-up starts with, must not take back a command such as "?EXIT!!" not yet read there.
    ASSERT_TRUE(device_.Write(all.data(), all.size(), done));
    EXPECT_EQ(done, 256u);
    EXPECT_TRUE(device_.Purge(kPurgeTxClear));
    EXPECT_EQ(Receive(256), all);

    ASSERT_TRUE(Send(all));
    ASSERT_TRUE(AwaitWaiting(256));
    EXPECT_TRUE(device_.Purge(kPurgeRxClear | kPurgeTxClear));
    EXPECT_TRUE(AwaitWaiting(0));
    EXPECT_TRUE(device_.SetBreak(true) && device_.SetBreak(false));
}

// Serial programs agree through the UUCP lock file: one held by a live process is honoured, with
// its name; a stale one is taken over; ours holds our process id and goes at the close.
TEST_F(PosixSerialDeviceTest, HonoursAndHoldsTheLockFile) {
    device_.Close();
    const std::string lock = testing::TempDir() + "/LCK.." + path_.substr(5).replace(3, 1, "_");
    std::ofstream(lock) << "         1\n";
    PosixSerialDevice other(kTimeoutMs, kTimeoutMs, testing::TempDir());
    EXPECT_FALSE(other.Open(path_));
    EXPECT_EQ(other.LastError(), EBUSY);
    EXPECT_THAT(other.LastErrorMessage(), HasSubstr(", process 1"));

    std::ofstream(lock) << "   4194304\n";  // above any process id the kernel hands out
    ASSERT_TRUE(other.Open(path_)) << other.LastErrorMessage();
    std::ifstream held(lock);
    int owner = 0;
    held >> owner;
    EXPECT_EQ(owner, ::getpid());
    other.Close();
    EXPECT_FALSE(std::filesystem::exists(lock));
}

// Another program reading the port would take the instrument's bytes: it is found by name.
TEST_F(PosixSerialDeviceTest, AnotherProcessWithThePortOpenIsNamed) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(far_);  // a reader, not the far end
        ::open(path_.c_str(), O_RDWR | O_NOCTTY);
        ::pause();
        ::_exit(0);
    }
    std::optional<PortUser> user;
    const auto deadline = steady_clock::now() + kPatience;
    while (!(user = FindOtherPortUser(path_)) && steady_clock::now() < deadline) {
        ::usleep(1000);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(user);
    EXPECT_EQ(user->pid, child);
    EXPECT_FALSE(user->program.empty());
}

TEST_F(PosixSerialDeviceTest, ShortReadAndFullLineAreBoundedByTheirTimeOuts) {
    ASSERT_TRUE(Send({'a', 'b', 'c'}));
    ASSERT_TRUE(AwaitWaiting(3));
    std::vector<uint8_t> buffer(1 << 20, 'x');
    size_t done = 0;
    auto start = steady_clock::now();
    EXPECT_TRUE(device_.Read(buffer.data(), 10, done));
    EXPECT_EQ(done, 3u);
    EXPECT_GE(steady_clock::now() - start, std::chrono::milliseconds(kTimeoutMs - 1));

    // Nobody reads the far end, so the pty fills up.
    start = steady_clock::now();
    EXPECT_TRUE(device_.Write(buffer.data(), buffer.size(), done));
    EXPECT_LT(done, buffer.size());
    EXPECT_LT(steady_clock::now() - start, kPatience);
}

TEST_F(PosixSerialDeviceTest, ClosedFarEndIsAFailureNotSilence) {
    ::close(far_);
    far_ = -1;
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

TEST_F(PosixSerialDeviceTest, BusyMissingAndOtherFilesAreRefusedWithTheirReasons) {
    PosixSerialDevice second;
    EXPECT_FALSE(second.Open(path_));
    EXPECT_EQ(second.LastError(), EBUSY);
    EXPECT_TRUE(ExclusiveModeOn(path_)) << "a refused open must not free the holder's port";
    EXPECT_TRUE(second.Exists(path_));
    device_.Close();
    EXPECT_FALSE(ExclusiveModeOn(path_)) << "the next user would be locked out";
    EXPECT_TRUE(second.Open(path_)) << second.LastErrorMessage();

    PosixSerialDevice missing;
    EXPECT_FALSE(missing.Open("/dev/brennix-no-such-port"));
    EXPECT_EQ(missing.LastErrorMessage(), "No such file or directory");
    EXPECT_FALSE(missing.Exists("/dev/brennix-no-such-port"));
    // Held open by many a daemon, but no user of a serial port.
    EXPECT_FALSE(missing.Open("/dev/null"));
    EXPECT_EQ(missing.LastError(), ENOTTY);
    EXPECT_EQ(missing.LastErrorMessage(), "Inappropriate ioctl for device: not a serial port");
}

// A program ended by a signal never reaches Close: its handler gives the port back.
TEST_F(PosixSerialDeviceTest, ProgramEndedBySignalLeavesThePortFree) {
    device_.Close();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PosixSerialDevice held;
        if (!held.Open(path_)) {
            ::_exit(3);
        }
        ReleasePortsWhenEnded();
        ::raise(SIGTERM);
        ::_exit(4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_FALSE(ExclusiveModeOn(path_));
}

TEST_F(PosixSerialDeviceTest, SettingsReadBackAndSurviveAReopen) {
    // A pseudo-terminal always carries 8 data bits without parity, so only rates and stop bits
    // vary.
    for (const SerialState& wanted : {SerialState{300, 8, kNoParity, kOneStopBit, false},
                                      SerialState{1200, 8, kNoParity, kTwoStopBits, true},
                                      SerialState{115200, 8, kNoParity, kOneStopBit, true},
                                      SerialState{921600, 8, kNoParity, kTwoStopBits, false}}) {
        ASSERT_TRUE(device_.SetState(wanted)) << wanted.baudRate;
        device_.Close();
        ASSERT_TRUE(device_.Open(path_));
        SerialState actual;
        ASSERT_TRUE(device_.GetState(actual));
        EXPECT_EQ(std::tie(actual.baudRate, actual.stopBits, actual.parityCheck),
                  std::tie(wanted.baudRate, wanted.stopBits, wanted.parityCheck));
    }
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
