#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>

#include "fake_line.h"

namespace brennix::test {
namespace {

constexpr const char* kPort = FakeLine::kPortName;

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

struct ClosedLine {
    VirtualClock clock{5000};
    FakeSerialDevice device{clock};
    StringTerminalPane pane;
    CSerialLink link{device, clock};
    ClosedLine() { link.SetOutputWindow(&pane); }
};

TEST(SerialLinkOpen, AppliesFramingAndAnnounces) {
    ClosedLine line;
    ASSERT_TRUE(line.link.Open(kPort, 19200, 7, 2, kTwoStopBits));

    EXPECT_EQ(line.pane.Text(), std::string("\r\nConnected to ") + kPort + " at 19200\r\n");
    EXPECT_EQ(line.link.PortName(), kPort);
    EXPECT_EQ(line.device.state.baudRate, 19200u);
    EXPECT_EQ(line.device.state.dataBits, 7);
    EXPECT_EQ(line.device.state.parity, 2);
    EXPECT_EQ(line.device.state.stopBits, kTwoStopBits);
    EXPECT_TRUE(line.device.state.parityCheck);
    EXPECT_EQ(line.link.GetBaudRate(), 19200u);
}

TEST(SerialLinkOpen, FailedOpenIsSilentAndKeepsTheReason) {
    ClosedLine line;
    line.device.openFails = true;

    EXPECT_FALSE(line.link.Open(kPort, 9600));
    EXPECT_FALSE(line.link.IsOpen());
    EXPECT_EQ(line.link.LastError(), ENOENT);
    EXPECT_EQ(line.pane.Text(), "");
    EXPECT_EQ(line.link.PortName(), "");
}

TEST(SerialLinkOpen, RefusedSettingsCloseThePortAgain) {
    ClosedLine line;
    line.device.setStateFails = true;

    EXPECT_FALSE(line.link.Open(kPort, 9600));
    EXPECT_FALSE(line.link.IsOpen());
    EXPECT_EQ(line.pane.Text(), "\r\nDisconnected");
}

TEST(SerialLinkOpen, RefusedQueueSizesOnlyWarn) {
    ClosedLine line;
    line.device.queueSizesFail = true;

    EXPECT_TRUE(line.link.Open(kPort, 9600));
    EXPECT_TRUE(line.link.IsOpen());
    EXPECT_EQ(line.pane.Text(), std::string("\r\nConnected to ") + kPort +
                                    " at 9600\r\nUnable to set com buffer size to 16384!\r\n");
}

TEST(SerialLinkOpen, ReopeningClosesFirstAndCloseForgetsTheName) {
    FakeLine line;
    EXPECT_TRUE(line.link.Open("/dev/ttyOTHER", 4800));
    line.link.Close();
    line.link.Close();

    EXPECT_EQ(line.pane.Text(),
              "\r\nDisconnected\r\nConnected to /dev/ttyOTHER at 4800\r\n\r\nDisconnected");
    EXPECT_EQ(line.link.PortName(), "");
}

TEST(SerialLinkOpen, DestructorClosesSilently) {
    VirtualClock clock;
    FakeSerialDevice device(clock);
    StringTerminalPane pane;
    {
        CSerialLink link(device, clock, kPort);
        link.SetOutputWindow(&pane);
        pane.SetText("");
        EXPECT_EQ(device.state.baudRate, 9600u);
    }
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(pane.Text(), "");
}

TEST(SerialLinkRevalidate, NeverOpenedOrClosedDoesNothing) {
    ClosedLine line;
    line.link.Revalidate();
    line.link.Open(kPort, 9600);
    line.link.Close();
    line.pane.SetText("");
    line.link.Revalidate();

    EXPECT_EQ(line.device.openedNames.size(), 1u);
    EXPECT_EQ(line.pane.Text(), "");
}

TEST(SerialLinkRevalidate, LivePortIsLeftAlone) {
    FakeLine line;
    line.link.Revalidate();
    EXPECT_EQ(line.device.openedNames.size(), 1u);
    EXPECT_EQ(line.pane.Text(), "");
}

TEST(SerialLinkRevalidate, LostPortThatCannotBeReopenedStaysClosed) {
    FakeLine line;
    line.device.lost = true;
    line.device.openFails = true;
    line.device.openError = ENODEV;

    line.link.Revalidate();
    EXPECT_FALSE(line.link.IsOpen());
    EXPECT_EQ(line.pane.Text(),
              std::string("\r\nDisconnected\r\nConnect to ") + kPort + " failed: error 19");
    line.pane.SetText("");
    line.link.Revalidate();
    EXPECT_EQ(line.pane.Text(), "");
}

TEST(SerialLinkRevalidate, LostPortReopensAtTheRateItNowReports) {
    FakeLine line;
    line.device.lost = true;
    line.device.state.baudRate = 4800;

    line.link.Revalidate();
    EXPECT_TRUE(line.link.IsOpen());
    EXPECT_EQ(line.link.PortName(), kPort);
    EXPECT_EQ(line.pane.Text(),
              std::string("\r\nDisconnected\r\nReconnected to ") + kPort + " at 4800\r\n");
}

TEST(SerialLinkStatus, ShowsConnectionOrItsAbsence) {
    FakeLine line;
    line.link.ShowStatus();
    line.link.Close();
    line.pane.SetText("");
    line.link.ShowStatus();
    EXPECT_EQ(line.pane.Text(), "\r\nNot connected\r\n");
}

TEST(SerialLinkWrite, EmptyTextWithLineEndSendsOnlyTheLineEnd) {
    FakeLine line;
    EXPECT_TRUE(line.link.Write("", 100, true));
    EXPECT_EQ(line.device.written, "\r\n");
    EXPECT_EQ(line.pane.Text(), "");
}

TEST(SerialLinkWrite, ShortWritesAreCompleted) {
    FakeLine line;
    line.device.maxBytesPerWrite = 2;
    EXPECT_TRUE(line.link.Write("hello", 100, true));
    EXPECT_EQ(line.device.written, "hello\r\n");
}

TEST(SerialLinkWrite, WriteBytesEchoesOnlyWhatWasWritten) {
    FakeLine line;
    line.device.maxBytesPerWrite = 2;
    const std::string data = "abcd";
    size_t done = 0;

    EXPECT_TRUE(line.link.WriteBytes(std::span(reinterpret_cast<const uint8_t*>(data.data()), 4),
                                     done, true));
    EXPECT_EQ(done, 2u);
    EXPECT_EQ(line.pane.Text(), "ab");
}

TEST(SerialLinkBreak, SendsTwoBlankLinesPausesThenHoldsTheBreak) {
    FakeLine line;
    const uint32_t start = line.clock.TickCount();

    EXPECT_TRUE(line.link.SendBreak(300));
    EXPECT_EQ(line.device.written, "  \r\n  \r\n");
    EXPECT_EQ(line.pane.Text(), "<BREAK>\r\n");
    ASSERT_EQ(line.device.breaks.size(), 2u);
    EXPECT_TRUE(line.device.breaks[0].on);
    EXPECT_EQ(line.device.breaks[0].tick, start + 100);
    EXPECT_FALSE(line.device.breaks[1].on);
    EXPECT_EQ(line.device.breaks[1].tick, start + 400);
}

TEST(SerialLinkBreak, RefusedBreakFails) {
    FakeLine line;
    line.device.breakFails = true;
    EXPECT_FALSE(line.link.SendBreak(300));
    EXPECT_TRUE(line.device.breaks.empty());
}

TEST(SerialLinkFlush, DiscardShowsOneChunkAndPurgesTheRest) {
    FakeLine line;
    line.device.Arrive(std::string(2000, 'x'));

    EXPECT_TRUE(line.link.FlushInput(true));
    EXPECT_EQ(line.pane.Text(), std::string(512, 'x'));
    EXPECT_EQ(line.device.purges, std::vector<uint32_t>{kPurgeRxClear});
    EXPECT_EQ(line.link.BytesWaiting(), 0u);
}

TEST(SerialLinkFlush, DiscardPurgesEvenWhenNothingWaits) {
    FakeLine line;
    EXPECT_TRUE(line.link.FlushInput(true));
    EXPECT_EQ(line.device.purges, std::vector<uint32_t>{kPurgeRxClear});
}

TEST(SerialLinkFlush, WithoutDiscardShowsEverything) {
    FakeLine line;
    line.device.Arrive(std::string(2000, 'y'));

    EXPECT_TRUE(line.link.FlushInput(false));
    EXPECT_EQ(line.pane.Text(), std::string(2000, 'y'));
    EXPECT_TRUE(line.device.purges.empty());
}

TEST(SerialLinkFlush, ClosedPortFails) {
    ClosedLine line;
    EXPECT_FALSE(line.link.FlushInput(true));
}

class SerialLinkLog : public testing::Test {
  protected:
    void SetUp() override {
        path_ = testing::TempDir() + "serial_link_log_test.log";
        std::ofstream(path_) << "an older session";
    }
    void TearDown() override { std::remove(path_.c_str()); }
    std::string path_;
};

TEST_F(SerialLinkLog, TruncatesOnOpenAndLogsRawBytesUpToZero) {
    FakeLine line;
    ASSERT_TRUE(line.link.OpenLog(path_));
    EXPECT_TRUE(line.link.IsLogOpen());
    EXPECT_EQ(FileText(path_), "");

    line.link.Print(
        std::string("a\bb\x04"
                    "c\0hidden",
                    12));
    line.device.Arrive("\x7f>");
    std::array<uint8_t, 2> buffer{};
    size_t done = 0;
    line.link.Read(buffer, done, 10, true);

    EXPECT_EQ(FileText(path_),
              "a\bb\x04"
              "c\x7f>");
    EXPECT_EQ(line.pane.Text(), "b >");
    EXPECT_TRUE(line.link.OpenLog(""));
    EXPECT_FALSE(line.link.IsLogOpen());
}

TEST_F(SerialLinkLog, UncreatableLogFails) {
    FakeLine line;
    EXPECT_FALSE(line.link.OpenLog(testing::TempDir() + "no-such-folder/x.log"));
    EXPECT_FALSE(line.link.IsLogOpen());
}

}  // namespace
}  // namespace brennix::test
