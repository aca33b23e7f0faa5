#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "fake_line.h"

namespace brennix::test {
namespace {

const std::string kPort = FakeLine::kPort;

TEST(SerialLinkOpen, RefusedPortOrSettingsLeaveItClosedOtherwiseFramingIsAppliedAndAnnounced) {
    for (const bool refusedSettings : {false, true}) {
        FakeLine line(1000, false);
        line.device.openError = refusedSettings ? 0 : ENOENT;
        line.device.setStateFails = refusedSettings;
        EXPECT_FALSE(line.link.Open(kPort, 9600));
        EXPECT_FALSE(line.link.IsOpen());
        EXPECT_EQ(line.pane.Text(), refusedSettings ? "\r\nDisconnected" : "");
    }
    FakeLine line(1000, false);
    ASSERT_TRUE(line.link.Open(kPort, 19200, 7, 2, kTwoStopBits));
    EXPECT_EQ(line.pane.Text(), "\r\nConnected to " + kPort + " at 19200\r\n");
    EXPECT_EQ(line.link.PortName(), kPort);
    const SerialState& state = line.device.state;
    EXPECT_EQ(std::tie(state.baudRate, state.dataBits, state.parity, state.stopBits),
              std::make_tuple(19200u, uint8_t{7}, uint8_t{2}, kTwoStopBits));
    EXPECT_TRUE(state.parityCheck);
}

TEST(SerialLinkRevalidate, ReopensOnlyALostPort) {
    struct Case {
        bool lost;
        int openError;
        bool open;
        std::string pane;
    };
    const Case cases[] = {
        {false, 0, true, ""},
        {true, 0, true, "\r\nDisconnected\r\nReconnected to " + kPort + " at 4800\r\n"},
        {true, ENODEV, false,
         "\r\nDisconnected\r\nConnect to " + kPort + " failed: error 19 (No such device)"},
    };
    for (const Case& c : cases) {
        FakeLine line;
        line.device.lost = c.lost;
        line.device.openError = c.openError;
        line.device.state.baudRate = 4800;  // the rate the port reports after coming back
        line.link.Revalidate();
        EXPECT_EQ(line.link.IsOpen(), c.open) << c.pane;
        EXPECT_EQ(line.pane.Text(), c.pane);
        // A link that is closed, by failure or by the user, is left closed.
        line.link.Close();
        line.device.openError = 0;
        line.link.Revalidate();
        EXPECT_FALSE(line.link.IsOpen());
    }
}

TEST(SerialLinkWrite, CompletesShortWritesAndEchoesOnlyWhatWasWritten) {
    FakeLine line;
    line.device.maxBytesPerWrite = 2;
    EXPECT_TRUE(line.link.Write("hello", 100, true));
    EXPECT_EQ(line.device.written, "hello\r\n");
    EXPECT_EQ(line.pane.Text(), "");

    const uint8_t data[] = {'a', 'b', 'c', 'd'};
    size_t done = 0;
    EXPECT_TRUE(line.link.WriteBytes(data, done, true));
    EXPECT_EQ(done, 2u);
    EXPECT_EQ(line.pane.Text(), "ab");
}

TEST(SerialLinkBreak, SendsTwoBlankLinesPausesThenHoldsTheBreak) {
    FakeLine line;
    EXPECT_TRUE(line.link.SendBreak(300));
    EXPECT_EQ(line.device.written, "  \r\n  \r\n");
    EXPECT_EQ(line.pane.Text(), "<BREAK>\r\n");
    using Event = std::pair<bool, uint32_t>;
    EXPECT_EQ(line.device.breaks, (std::vector<Event>{{true, 1100}, {false, 1400}}));

    line.device.lost = true;
    EXPECT_FALSE(line.link.SendBreak(300));
}

// Raw TCP to a device server: nothing goes out in place of a BREAK, the rate stays, and each
// refusal says why in the terminal.
TEST(SerialLinkBreak, PortCarryingBytesOnlyRefusesBreakAndRateChangeSayingWhy) {
    FakeLine line;
    line.device.bytesOnly = "tcp://buoy:4001 carries bytes only";
    EXPECT_FALSE(line.link.SendBreak(300));
    EXPECT_EQ(line.device.written, "");
    EXPECT_TRUE(line.device.breaks.empty());
    EXPECT_FALSE(line.link.SetBaudRate(57600));
    EXPECT_EQ(line.link.GetBaudRate(), 9600u);
    EXPECT_TRUE(line.link.SetBaudRate(9600));
    const std::string said = "\r\n" + line.device.bytesOnly + "\r\n";
    EXPECT_EQ(line.pane.Text(), said + said);
    EXPECT_FALSE(line.link.Capabilities().sendBreak);
}

TEST(SerialLinkFlush, DiscardShowsOneChunkAndPurgesWithoutShowsAll) {
    struct Case {
        size_t waiting;
        bool discard;
        size_t shown;
        std::vector<uint32_t> purges;
    };
    for (const Case& c : {Case{2000, true, 512, {kPurgeRxClear}}, Case{0, true, 0, {kPurgeRxClear}},
                          Case{2000, false, 2000, {}}}) {
        FakeLine line;
        line.device.Arrive(std::string(c.waiting, 'x'));
        EXPECT_TRUE(line.link.FlushInput(c.discard));
        EXPECT_EQ(line.pane.Text(), std::string(c.shown, 'x'));
        EXPECT_EQ(line.device.purges, c.purges);
        EXPECT_EQ(line.link.BytesWaiting(), 0u);
    }
    FakeLine closed(1000, false);
    EXPECT_FALSE(closed.link.FlushInput(true));
}

TEST(SerialLinkLog, TruncatesOnOpenAndLogsRawBytesUpToAZero) {
    const std::string path = testing::TempDir() + "serial_link_log_test.log";
    std::ofstream(path) << "an older session";
    FakeLine line;
    ASSERT_TRUE(line.link.Tap().OpenLog(path));

    line.link.Tap().Print(std::string("a\bb\x04z\0hidden", 12));
    line.device.Arrive("\x7f>");
    uint8_t reply[2];
    size_t done = 0;
    line.link.Read(reply, done, 10, true);
    EXPECT_TRUE(line.link.Tap().OpenLog(""));
    EXPECT_FALSE(line.link.Tap().IsLogOpen());

    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "a\bb\x04z\x7f>");
    EXPECT_EQ(line.pane.Text(), "b >");
    std::remove(path.c_str());
    EXPECT_FALSE(line.link.Tap().OpenLog(testing::TempDir() + "no-such-folder/x.log"));
}

}  // namespace
}  // namespace brennix::test
