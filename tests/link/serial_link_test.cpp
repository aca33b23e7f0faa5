#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <tuple>

#include "support/scripted_line.h"

namespace brennix::test {
namespace {

const std::string kPort = SimulatedDevice::kPortName;
const PortCapabilities kBytesOnly{false, false, "tcp://buoy:4001 carries bytes only"};

TEST(SerialLinkOpen, RefusedPortOrSettingsLeaveItClosedOtherwiseFramingIsAppliedAndAnnounced) {
    for (const bool refusedSettings : {false, true}) {
        ScriptedLine line(1000, false);
        line.device.SetVanished(!refusedSettings);
        line.device.SetCapabilities(refusedSettings ? kBytesOnly : PortCapabilities{});
        EXPECT_FALSE(line.link.Open(kPort, 19200));
        EXPECT_FALSE(line.link.IsOpen());
        EXPECT_EQ(line.pane.Text(), refusedSettings ? "\r\nDisconnected" : "");
    }
    ScriptedLine line(1000, false);
    ASSERT_TRUE(line.link.Open(kPort, 19200, 7, 2, kTwoStopBits));
    EXPECT_EQ(line.pane.Text(), "\r\nConnected to " + kPort + " at 19200\r\n");
    EXPECT_EQ(line.link.PortName(), kPort);
    SerialState state;
    ASSERT_TRUE(line.device.GetState(state));
    EXPECT_EQ(std::tie(state.baudRate, state.dataBits, state.parity, state.stopBits),
              std::make_tuple(19200u, uint8_t{7}, uint8_t{2}, kTwoStopBits));
    EXPECT_TRUE(state.parityCheck);
}

// A pulled adapter is reopened when it is back, with the rate the port kept.
TEST(SerialLinkRevalidate, ReopensOnlyALostPort) {
    struct Case {
        bool lost;
        bool back;
        std::string pane;
    };
    const Case cases[] = {
        {false, true, ""},
        {true, true, "\r\nDisconnected\r\nReconnected to " + kPort + " at 4800\r\n"},
        {true, false,
         "\r\nDisconnected\r\nConnect to " + kPort +
             " failed: error 2 (No such file or directory)"},
    };
    for (const Case& c : cases) {
        ScriptedLine line;
        ASSERT_TRUE(line.link.SetBaudRate(4800));
        line.pane.SetText("");
        line.device.SetVanished(c.lost);
        line.device.SetVanished(!c.back);
        line.link.Revalidate();
        EXPECT_EQ(line.link.IsOpen(), c.back) << c.pane;
        EXPECT_EQ(line.pane.Text(), c.pane);
        // A link that is closed, by failure or by the user, is left closed.
        line.link.Close();
        line.device.SetVanished(false);
        line.link.Revalidate();
        EXPECT_FALSE(line.link.IsOpen());
    }
}

TEST(SerialLinkWrite, CompletesShortWritesAndEchoesOnlyWhatWasWritten) {
    ScriptedLine line;
    line.device.SetQueueSizes(0, 2);
    EXPECT_TRUE(line.link.Write("hello", 100, true));
    EXPECT_EQ(line.farEnd.Wire(), "hello\r\n");
    EXPECT_EQ(line.pane.Text(), "");

    const uint8_t data[] = {'a', 'b', 'c', 'd'};
    size_t done = 0;
    EXPECT_TRUE(line.link.WriteBytes(data, done, true));
    EXPECT_EQ(done, 2u);
    EXPECT_EQ(line.pane.Text(), "ab");
}

TEST(SerialLinkBreak, SendsTwoBlankLinesPausesThenHoldsTheBreak) {
    ScriptedLine line;
    EXPECT_TRUE(line.link.SendBreak());
    EXPECT_EQ(line.farEnd.Wire(), "  \r\n  \r\n<BREAK>");
    EXPECT_EQ(line.pane.Text(), "<BREAK>\r\n");
    using Edge = sim::ScriptedFarEnd::BreakEdge;
    EXPECT_EQ(line.farEnd.Breaks(), (std::vector<Edge>{{true, 1100, 9600}, {false, 1400, 9600}}));

    line.device.SetVanished(true);
    EXPECT_FALSE(line.link.SendBreak());
}

// Raw TCP to a device server: nothing goes out in place of a BREAK, the rate stays, and each
// refusal says why in the terminal.
TEST(SerialLinkBreak, PortCarryingBytesOnlyRefusesBreakAndRateChangeSayingWhy) {
    ScriptedLine line;
    line.device.SetCapabilities(kBytesOnly);
    EXPECT_FALSE(line.link.SendBreak());
    EXPECT_EQ(line.farEnd.Wire(), "");
    EXPECT_FALSE(line.link.SetBaudRate(57600));
    EXPECT_EQ(line.link.GetBaudRate(), 9600u);
    EXPECT_TRUE(line.link.SetBaudRate(9600));
    const std::string said = "\r\n" + kBytesOnly.limits + "\r\n";
    EXPECT_EQ(line.pane.Text(), said + said);
    EXPECT_FALSE(line.link.Capabilities().sendBreak);
}

TEST(SerialLinkFlush, DiscardShowsOneChunkAndPurgesWithoutShowsAll) {
    using Case = std::tuple<size_t, bool, size_t>;  // waiting, discard, shown
    for (const auto& [waiting, discard, shown] :
         {Case{2000, true, 512}, Case{0, true, 0}, Case{2000, false, 2000}}) {
        ScriptedLine line;
        line.farEnd.Send(std::string(waiting, 'x'));
        EXPECT_TRUE(line.link.FlushInput(discard));
        EXPECT_EQ(line.pane.Text(), std::string(shown, 'x'));
        EXPECT_EQ(line.link.BytesWaiting(), 0u);
    }
    ScriptedLine closed(1000, false);
    EXPECT_FALSE(closed.link.FlushInput(true));
}

// A CR alone (the echo of a typed command) ends its line in the log only, also when its LF comes
// in the next piece.
TEST(SerialLinkLog, TruncatesOnOpenAndLogsTheBytesUpToAZeroEachCrEndingALine) {
    const std::string path = testing::TempDir() + "serial_link_log_test.log";
    std::ofstream(path) << "an older session";
    ScriptedLine line;
    ASSERT_TRUE(line.link.Tap().OpenLog(path));

    line.link.Tap().Print(std::string("a\bb\x04\rz\r\0hidden", 14));
    line.farEnd.Send("\n\x7f>");
    uint8_t reply[3];
    size_t done = 0;
    line.link.Read(reply, done, 10, true);
    EXPECT_TRUE(line.link.Tap().OpenLog(""));
    EXPECT_FALSE(line.link.Tap().IsLogOpen());

    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "a\bb\x04\r\nz\r\n\x7f>");
    EXPECT_EQ(line.pane.Text(), "b \rz\r>");
    std::remove(path.c_str());
    EXPECT_FALSE(line.link.Tap().OpenLog(testing::TempDir() + "no-such-folder/x.log"));
}

// A line stamped at its first byte however it arrives; the pane and the instrument see no stamp.
TEST(SerialLinkLog, TimeStampsStartEachLineOfTheLogOnly) {
    const std::string path = testing::TempDir() + "serial_link_stamps_test.log";
    ScriptedLine line;
    line.link.Tap().SetLogTimeStamps(true);
    ASSERT_TRUE(line.link.Tap().OpenLog(path));
    line.clock.SetLocalTime({2026, 12, 8, 14, 3, 7, 215});
    line.farEnd.Send("Ostrel Mir");
    uint8_t reply[64];
    size_t done = 0;
    line.link.Read(std::span(reply, 10), done, 10, true);
    line.clock.SetLocalTime({2026, 12, 8, 14, 3, 8, 5});
    line.farEnd.Send("ovan\r\n\r\n>");
    line.link.Read(std::span(reply, 9), done, 10, true);
    EXPECT_TRUE(line.link.Write("Ver", 10, true));
    line.link.Tap().Print("\r\nDisconnected\r\n");
    line.link.Tap().OpenLog("");

    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}),
              "2026-12-08 14:03:07.215 Ostrel Mirovan\r\n"
              "2026-12-08 14:03:08.005 \r\n"
              "2026-12-08 14:03:08.005 >\r\n"
              "2026-12-08 14:03:08.005 Disconnected\r\n");
    EXPECT_EQ(line.pane.Text(), "Ostrel Mirovan\r\n\r\n>\r\nDisconnected\r\n");
    EXPECT_EQ(line.farEnd.Wire(), "Ver\r\n");
    std::remove(path.c_str());
}

}  // namespace
}  // namespace brennix::test
