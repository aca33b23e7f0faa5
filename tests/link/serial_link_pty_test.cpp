#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "link/output_window.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/posix_serial_device.h"
#include "platform/pty_far_end.h"

namespace brennix::test {
namespace {

std::vector<uint8_t> BytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

// The link on a real port (a pseudo-terminal) in real time.
class SerialLinkPtyTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(far_.PortPath().empty()) << "no pseudo-terminal available";
        ASSERT_TRUE(link_.Open(far_.PortPath(), 115200)) << link_.LastErrorMessage();
        link_.SetOutputWindow(&pane_);
        pane_.SetText("");
    }

    PtyFarEnd far_;
    SystemClock clock_;
    PosixSerialDevice device_{20, 20};
    CSerialLink link_{device_, clock_};
    StringTerminalPane pane_;
};

TEST_F(SerialLinkPtyTest, CommandGoesOutAndReplyComesBack) {
    ASSERT_TRUE(link_.Write("ver", 200, true));
    EXPECT_EQ(far_.Receive(5), BytesOf("ver\r\n"));

    ASSERT_TRUE(far_.Send(BytesOf("ver\r\nOK\r\n>")));
    std::array<char, 64> reply{};
    EXPECT_TRUE(link_.ReadUntil(reply, ">", 500, 0, true));
    EXPECT_EQ(std::string(reply.data()), "ver\r\nOK\r\n>");
    EXPECT_EQ(pane_.Text(), "ver\r\nOK\r\n>");
    EXPECT_EQ(link_.GetBaudRate(), 115200u);
}

TEST_F(SerialLinkPtyTest, ClosedFarEndIsNoticedOnRevalidate) {
    link_.Revalidate();
    EXPECT_EQ(pane_.Text(), "");

    far_.Close();
    link_.Revalidate();
    EXPECT_FALSE(link_.IsOpen());
    const std::string expected = "\r\nDisconnected\r\nConnect to " + far_.PortPath() + " failed: ";
    EXPECT_EQ(pane_.Text().substr(0, expected.size()), expected);
}

TEST_F(SerialLinkPtyTest, DiscardingFlushShowsOneChunkAndEmptiesTheQueue) {
    ASSERT_TRUE(far_.Send(std::vector<uint8_t>(600, 'z')));
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (link_.BytesWaiting() < 600 && std::chrono::steady_clock::now() < deadline) {
        link_.Wait(1);
    }

    EXPECT_TRUE(link_.FlushInput(true));
    EXPECT_EQ(pane_.Text(), std::string(512, 'z'));
    EXPECT_EQ(link_.BytesWaiting(), 0u);
}

}  // namespace
}  // namespace brennix::test
