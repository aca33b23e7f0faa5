// The recorder's block protocol and directory: framing and checksum edges on a scripted line,
// the acknowledgement and retry bytes, and the directory as the simulated recorder lists it.
#include "recorder/recorder_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "link/fake_line.h"
#include "link/link_lease.h"
#include "recorder/rate_restore.h"
#include "sim/sim_recorder.h"
#include "support/scripted_ui_host.h"
#include "support/sim_session.h"

namespace brennix::test {
namespace {

// The recorder access on a line whose far end sends exactly what a case gives.
struct FramingLine {
    static CInstrument& Linked(CInstrument& instrument, CSerialLink& link) {
        instrument.SetLink(&link);
        return instrument;
    }

    FakeLine line;
    ScriptedUiHost ui{line.clock};
    CInstrument instrument{line.clock, ui};
    CRecorderAccess access{Linked(instrument, line.link)};
};

struct FrameCase {
    const char* name;
    std::string arrives;
    size_t maximum;
    bool received;
    std::string data;
    std::string answered;  // the host's bytes
};

class ReceiveBlockTest : public testing::TestWithParam<FrameCase> {};

TEST_P(ReceiveBlockTest, AcknowledgesGoodFramesAndRejectsEachBadAttempt) {
    const FrameCase& c = GetParam();
    FramingLine f;
    f.line.device.Arrive(c.arrives);
    std::vector<uint8_t> buffer(c.maximum);
    size_t received = 99;
    EXPECT_EQ(f.access.ReceiveBlock(buffer, received), c.received);
    if (c.received) {
        EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + static_cast<long>(received)),
                  c.data);
    }
    EXPECT_EQ(f.line.device.written, c.answered);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ReceiveBlockTest,
    testing::Values(FrameCase{"LengthFourIsAnEmptyBlock", std::string("\x04\x00\x96\xA5", 4), 28,
                              true, "", "a"},
                    FrameCase{"EmptyBlockWithAnyOtherChecksumIsBad",
                              std::string("\x04\x00\x97\xA5", 4), 28, false, "", "bbb"},
                    FrameCase{"DataOneTwoSumsTo0xA599", std::string("\x06\x00\x01\x02\x99\xA5", 6),
                              28, true, "\x01\x02", "a"},
                    FrameCase{"LengthAboveTheMaximumIsCutAndFailsItsChecksum",
                              std::string("\x07\x00\x01\x02\x03\x9C\xA5", 7), 2, false, "", "bbb"},
                    FrameCase{"LengthBelowFourWrapsToMoreThanArrives",
                              std::string("\x03\x00\x96\xA5", 4), 28, false, "", "bbb"},
                    FrameCase{"ShortFrameTimesOut", std::string("\x08\x00\x01", 3), 28, false, "",
                              "bbb"}),
    [](const testing::TestParamInfo<FrameCase>& info) { return info.param.name; });

TEST(ReceiveBlock, SilentFarEndGivesUpAfterThreeTimedOutAttempts) {
    FramingLine f;
    const uint32_t start = f.line.clock.TickCount();
    std::array<uint8_t, 28> buffer{};
    size_t received = 0;
    EXPECT_FALSE(f.access.ReceiveBlock(buffer, received));
    EXPECT_EQ(f.line.device.written, "bbb");
    // Each attempt: the length word's 2 s, then 10 ms before and after its "b".
    EXPECT_EQ(f.line.clock.TickCount() - start, 3 * (2001 + 20));
}

TEST(ReceiveBlock, AStopOrAVanishedPortEndsItWithoutAskingAgain) {
    FramingLine stopped;
    StopEvent stop;
    stop.Set();
    const LinkLease lease(stopped.line.link, &stop);
    std::array<uint8_t, 28> buffer{};
    size_t received = 0;
    EXPECT_FALSE(stopped.access.ReceiveBlock(buffer, received));
    EXPECT_EQ(stopped.line.device.written, "");

    FramingLine vanished;
    vanished.line.device.lost = true;
    EXPECT_FALSE(vanished.access.ReceiveBlock(buffer, received));
    EXPECT_EQ(vanished.line.device.written, "");
}

// "c" at the last of the 1000 polls, 5 ms apart, is taken; one millisecond later it is missed.
TEST(WaitReady, TakesTheReadySignalUntilTheLastPollAndAcknowledgesIt) {
    for (const uint32_t late : {0u, 1u}) {
        FramingLine f;
        const uint32_t start = f.line.clock.TickCount();
        f.line.device.Arrive("x", start + 10);  // noise costs its poll and no more
        f.line.device.Arrive("c", start + 999 * 5 + late);
        EXPECT_EQ(f.access.WaitReady(), late == 0) << late;
        EXPECT_EQ(f.line.device.written, late == 0 ? "a" : "");
        EXPECT_EQ(f.line.clock.TickCount() - start, late == 0 ? 4995u : 5000u) << late;
    }
}

// The line is quiet once nothing has come for 200 ms (polled every 10 ms); a line that never falls
// quiet is given up on after 4 s.
TEST(SettleLine, WaitsForQuietButNotForever) {
    FramingLine tail;
    const uint32_t start = tail.line.clock.TickCount();
    tail.line.device.Arrive("xx", start + 100);
    tail.line.device.Arrive("yy", start + 250);
    SettleLine(tail.line.link);
    EXPECT_EQ(tail.line.clock.TickCount() - start, 260u + 200u);
    EXPECT_EQ(tail.line.link.BytesWaiting(), 0u);

    FramingLine noisy;
    const uint32_t begun = noisy.line.clock.TickCount();
    for (uint32_t at = 0; at < 10000; at += 50) {
        noisy.line.device.Arrive("z", begun + at);
    }
    SettleLine(noisy.line.link);
    EXPECT_EQ(noisy.line.clock.TickCount() - begun, 4010u);
}

class RecorderDirectoryTest : public testing::Test {
  protected:
    static sim::Settings Settings() {
        sim::Settings settings;
        settings.recorderCapacity = 8u << 20;
        settings.recorderUsed = 3u * sim::SimRecorder::kSpaceUnit;
        settings.recorderSamples = false;
        return settings;
    }
    void AddTwoFiles() {
        sim.instrument.Recorder().AddFile(
            {"DEP1.000", std::string(70000, 'x'), 2006, 5, 17, 13, 45, 9});
        sim.instrument.Recorder().AddFile({"DEP1.001", "abc", 2026, 12, 7, 0, 1, 2});
    }
    // What the host sent since "bdir".
    std::string SentAfterCommand() const {
        const std::string& sent = sim.instrument.Received();
        return sent.substr(sent.find("bdir\r") + 5);
    }

    SimSession sim{Settings()};
    CRecorderAccess access{sim.session.Instrument()};
};

TEST_F(RecorderDirectoryTest, ListsFilesWithTheirYearsFrom1980AndTheSpace) {
    AddTwoFiles();
    std::vector<RecorderFileEntry> entries;
    ASSERT_TRUE(access.ReadDirectory(entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "DEP1.000");
    EXPECT_EQ(entries[0].size, 70000u);
    // On the wire the year is 26.
    EXPECT_EQ(entries[0].year, 2006);
    EXPECT_EQ(entries[0].month, 5);
    EXPECT_EQ(entries[0].day, 17);
    EXPECT_EQ(entries[0].hour, 13);
    EXPECT_EQ(entries[0].minute, 45);
    EXPECT_EQ(entries[1].name, "DEP1.001");
    uint32_t used = 0;
    uint32_t total = 0;
    ASSERT_TRUE(access.GetSpace(used, total));
    EXPECT_EQ(total, 8u << 20);
    // Three units besides, two for the first file and one for the second.
    EXPECT_EQ(used, 6u * sim::SimRecorder::kSpaceUnit);
    // "c", the header, two entries, the empty block and the used space: each acknowledged once.
    EXPECT_EQ(SentAfterCommand(), "aaaaaa");
}

TEST_F(RecorderDirectoryTest, IsReadOnceInItsLife) {
    uint32_t used = 0;
    uint32_t total = 0;
    ASSERT_TRUE(access.GetSpace(used, total));
    sim.instrument.ClearReceived();
    AddTwoFiles();
    std::vector<RecorderFileEntry> entries;
    ASSERT_TRUE(access.ReadDirectory(entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(sim.instrument.Received(), "");
}

// A block that fails its checksum is rejected and asked for again, up to three times.
TEST_F(RecorderDirectoryTest, BadChecksumsAreRejectedThreeTimesAtMost) {
    struct Case {
        int block;
        int sends;
        bool listed;
        const char* sent;
    };
    for (const Case c : {Case{2, 2, true, "aaabbaaa"}, Case{0, 3, false, "abbb"}}) {
        SimSession fresh{Settings()};
        fresh.instrument.Recorder().AddFile({"DEP1.000", "x"});
        fresh.instrument.Recorder().AddFile({"DEP1.001", "y"});
        fresh.instrument.GetFaults().badChecksumBlock = c.block;
        fresh.instrument.GetFaults().badChecksumSends = c.sends;
        CRecorderAccess fresher(fresh.session.Instrument());
        std::vector<RecorderFileEntry> entries;
        EXPECT_EQ(fresher.ReadDirectory(entries), c.listed) << c.block;
        const std::string& sent = fresh.instrument.Received();
        EXPECT_EQ(sent.substr(sent.find("bdir\r") + 5), c.sent);
    }
}

TEST_F(RecorderDirectoryTest, AnEntryThatKeepsFailingEndsTheListingAfterBoundedSeries) {
    AddTwoFiles();
    sim.instrument.GetFaults().badChecksumBlock = 1;
    sim.instrument.GetFaults().badChecksumSends = 1000;
    const uint32_t start = sim.clock.TickCount();
    std::vector<RecorderFileEntry> entries;
    EXPECT_FALSE(access.ReadDirectory(entries));
    const std::string sent = SentAfterCommand();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 'b'), 3 * (CRecorderAccess::kEntryRetries + 1));
    EXPECT_LT(sim.clock.TickCount() - start, 60000u);
}

TEST_F(RecorderDirectoryTest, AMissingUsedSpaceBlockLeavesNothingUsed) {
    AddTwoFiles();
    // Header, two entries and the empty block come; then the recorder hangs.
    sim.instrument.GetFaults().stallAfterBlocks = 4;
    std::vector<RecorderFileEntry> entries;
    ASSERT_TRUE(access.ReadDirectory(entries));
    EXPECT_EQ(entries.size(), 2u);
    uint32_t used = 1;
    uint32_t total = 0;
    ASSERT_TRUE(access.GetSpace(used, total));
    EXPECT_EQ(used, 0u);
    EXPECT_EQ(total, 8u << 20);
}

TEST_F(RecorderDirectoryTest, BaudSwitchesTheInstrumentThenTheLinkOrNeither) {
    EXPECT_TRUE(access.SetBaud(57600));
    EXPECT_EQ(sim.link.GetBaudRate(), 57600u);
    EXPECT_TRUE(sim.session.Instrument().CommandOk("SaveSetup", 2000));
    sim.instrument.GetFaults().refuseBaud = true;
    EXPECT_FALSE(access.SetBaud(9600));
    EXPECT_EQ(sim.link.GetBaudRate(), 57600u);
}

}  // namespace
}  // namespace brennix::test
