#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "sim/pty_server.h"

namespace brennix::sim::test {
namespace {

// The program's end of the pseudo-terminal, with plain termios calls.
class PortEnd {
  public:
    PortEnd(const std::string& path, speed_t speed) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios mode{};
        if (fd_ >= 0 && tcgetattr(fd_, &mode) == 0) {
            cfmakeraw(&mode);
            cfsetispeed(&mode, speed);
            cfsetospeed(&mode, speed);
            tcsetattr(fd_, TCSANOW, &mode);
        }
    }
    ~PortEnd() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }

    bool IsOpen() const { return fd_ >= 0; }

    void Write(const std::string& text) {
        ASSERT_EQ(write(fd_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    // Reads until the text ends with the wanted tail or the time is up.
    std::string ReadUntil(const std::string& tail, int timeoutMs) {
        std::string got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!got.ends_with(tail)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            pollfd pfd{fd_, POLLIN, 0};
            if (left.count() <= 0 || poll(&pfd, 1, static_cast<int>(left.count())) <= 0) {
                break;
            }
            char buffer[256];
            const ssize_t count = read(fd_, buffer, sizeof buffer);
            if (count <= 0) {
                break;
            }
            got.append(buffer, static_cast<size_t>(count));
        }
        return got;
    }

  private:
    int fd_;
};

TEST(PtyServer, ServesInRealTimeAtTheRateTheProgramSets) {
    SimulatedInstrument instrument({.baudRate = 19200});
    PtyServer server(instrument);
    ASSERT_TRUE(server.Start()) << server.Error();
    ASSERT_FALSE(server.SlavePath().empty());

    {
        PortEnd port(server.SlavePath(), B19200);
        ASSERT_TRUE(port.IsOpen());
        port.Write(" \r\n");
        EXPECT_EQ(port.ReadUntil(">", 2000), " \r>");
        port.Write("Ver\r");
        EXPECT_TRUE(port.ReadUntil("\r\n>", 2000).starts_with("Ver\rOstrel Mirovan MRV"));
    }
    {
        // Closed and opened again, now at a rate the instrument does not use.
        PortEnd port(server.SlavePath(), B9600);
        ASSERT_TRUE(port.IsOpen());
        port.Write(" \r\n");
        EXPECT_EQ(port.ReadUntil(">", 200), "");
    }
    server.Stop();
    EXPECT_EQ(instrument.Received(), " \r\nVer\r \r\n");
}

TEST(PtyServer, StopsPromptlyWhenIdle) {
    SimulatedInstrument instrument;
    PtyServer server(instrument);
    ASSERT_TRUE(server.Start()) << server.Error();
    const auto start = std::chrono::steady_clock::now();
    server.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

}  // namespace
}  // namespace brennix::sim::test
