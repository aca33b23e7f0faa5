// The recorder's block protocol: framing and checksum edges on a scripted line, the
// acknowledgement and retry bytes and their time-outs, the line let fall quiet, and the directory's
// failures as the simulated recorder shows them.
#include "instrument/recorder_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "instrument/recorder_listing.h"
#include "link/link_lease.h"
#include "recorder/line_settle.h"
#include "sim/sim_recorder.h"
#include "support/scripted_instrument_line.h"
#include "support/sim_session.h"

namespace brennix::test {
namespace {

// The recorder access on a line whose far end sends exactly what a case gives.
struct FramingLine : ScriptedInstrumentLine {
    FramingLine() : ScriptedInstrumentLine(1000) { farEnd.awake = false; }

    CRecorderAccess access{instrument};
};

struct FrameCase {
    const char* name;
    std::string arrives;
    size_t maximum;
    bool received;
    std::string data;
    std::string answered;  // the host's bytes
};

TEST(ReceiveBlock, AcknowledgesGoodFramesAndRejectsEachBadAttempt) {
    for (const FrameCase& c :
         {FrameCase{"LengthFourIsAnEmptyBlock", std::string("\x04\x00\x96\xA5", 4), 28, true, "",
                    "a"},
          FrameCase{"EmptyBlockWithAnyOtherChecksumIsBad", std::string("\x04\x00\x97\xA5", 4), 28,
                    false, "", "bbb"},
          FrameCase{"DataOneTwoSumsTo0xA599", std::string("\x06\x00\x01\x02\x99\xA5", 6), 28, true,
                    "\x01\x02", "a"},
          FrameCase{"LengthAboveTheMaximumIsCutAndFailsItsChecksum",
                    std::string("\x07\x00\x01\x02\x03\x9C\xA5", 7), 2, false, "", "bbb"},
          FrameCase{"LengthBelowFourWrapsToMoreThanArrives", std::string("\x03\x00\x96\xA5", 4), 28,
                    false, "", "bbb"},
          FrameCase{"ShortFrameTimesOut", std::string("\x08\x00\x01", 3), 28, false, "", "bbb"}}) {
        SCOPED_TRACE(c.name);
        FramingLine f;
        f.farEnd.Send(c.arrives);
        std::vector<uint8_t> buffer(c.maximum);
        size_t received = 99;
        EXPECT_EQ(f.access.ReceiveBlock(buffer, received), c.received);
        if (c.received) {
            EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + static_cast<long>(received)),
                      c.data);
        }
        EXPECT_EQ(f.farEnd.Wire(), c.answered);
    }
}

TEST(ReceiveBlock, SilentFarEndGivesUpAfterThreeTimedOutAttempts) {
    FramingLine f;
    const uint32_t start = f.clock.TickCount();
    std::array<uint8_t, 28> buffer{};
    size_t received = 0;
    EXPECT_FALSE(f.access.ReceiveBlock(buffer, received));
    EXPECT_EQ(f.farEnd.Wire(), "bbb");
    // Each attempt: the length word's 2 s, then 10 ms before and after its "b".
    EXPECT_EQ(f.clock.TickCount() - start, 3 * (2001 + 20));
}

// After its length word a block's data may keep the host waiting 4 s, not a moment longer.
TEST(ReceiveBlock, TheDataIsWaitedForFourSeconds) {
    for (const auto& [pause, answered] : {std::pair{4000u, "a"}, {4001u, "bbb"}}) {
        FramingLine f;
        f.farEnd.Send(std::string("\x06\x00", 2));
        f.farEnd.Send(std::string("\x01\x02\x99\xA5", 4), pause);
        std::array<uint8_t, 28> buffer{};
        size_t received = 0;
        EXPECT_EQ(f.access.ReceiveBlock(buffer, received), pause == 4000u);
        EXPECT_EQ(f.farEnd.Wire(), answered) << pause;
    }
}

TEST(ReceiveBlock, AStopOrAVanishedPortEndsItWithoutAskingAgain) {
    FramingLine stopped;
    StopEvent stop;
    stop.Set();
    const LinkLease lease(stopped.link, &stop);
    std::array<uint8_t, 28> buffer{};
    size_t received = 0;
    EXPECT_FALSE(stopped.access.ReceiveBlock(buffer, received));
    EXPECT_EQ(stopped.farEnd.Wire(), "");

    FramingLine vanished;
    vanished.device.SetVanished(true);
    EXPECT_FALSE(vanished.access.ReceiveBlock(buffer, received));
    EXPECT_EQ(vanished.farEnd.Wire(), "");
}

// "c" at the last of the 1000 polls, 5 ms apart, is taken; one millisecond later it is missed.
TEST(WaitReady, TakesTheReadySignalUntilTheLastPollAndAcknowledgesIt) {
    for (const uint32_t late : {0u, 1u}) {
        FramingLine f;
        const uint32_t start = f.clock.TickCount();
        f.farEnd.Send("x", 10);  // noise costs its poll and no more
        f.farEnd.Send("c", 999 * 5 + late);
        EXPECT_EQ(f.access.WaitReady(), late == 0) << late;
        EXPECT_EQ(f.farEnd.Wire(), late == 0 ? "a" : "");
        EXPECT_EQ(f.clock.TickCount() - start, late == 0 ? 4995u : 5000u) << late;
    }
}

// The line is quiet once nothing has come for 200 ms (polled every 10 ms); a line that never falls
// quiet is given up on once six of the largest blocks could have come at its rate (9600 baud:
// 6425 ms).
TEST(SettleLine, WaitsForQuietButNotForever) {
    FramingLine tail;
    const uint32_t start = tail.clock.TickCount();
    tail.farEnd.Send("xx", 100);
    tail.farEnd.Send("yy", 250);
    SettleLine(tail.link);
    EXPECT_EQ(tail.clock.TickCount() - start, 260u + 200u);
    EXPECT_EQ(tail.link.BytesWaiting(), 0u);

    FramingLine noisy;
    const uint32_t begun = noisy.clock.TickCount();
    for (uint32_t at = 0; at < 10000; at += 50) {
        noisy.farEnd.Send("z", at);
    }
    SettleLine(noisy.link);
    EXPECT_EQ(noisy.clock.TickCount() - begun, 6430u);
}

class RecorderDirectoryTest : public testing::Test {
  protected:
    SimSession sim;
    CRecorderAccess access{sim.session.Instrument()};
};

TEST_F(RecorderDirectoryTest, IsReadOnceInItsLife) {
    std::vector<RecorderFileEntry> entries;
    ASSERT_TRUE(access.ReadDirectory(entries));
    sim.instrument.ClearReceived();
    uint32_t used = 0;
    uint32_t total = 0;
    ASSERT_TRUE(access.GetSpace(used, total));
    EXPECT_EQ(sim.instrument.Received(), "");
}

// A block that fails its checksum is rejected and asked for again, up to three times; an entry
// that keeps failing is asked for again in a few more series, then the listing fails.
TEST_F(RecorderDirectoryTest, BadChecksumsAreRejectedThreeTimesAtMostAndBounded) {
    struct Case {
        int block;
        int sends;
        bool listed;
        size_t rejects;
    };
    for (const Case c : {Case{2, 2, true, 2}, Case{0, 3, false, 3},
                         Case{1, 1000, false, 3 * (CRecorderAccess::kEntryRetries + 1)}}) {
        SimSession fresh;
        fresh.instrument.GetFaults().badChecksumBlock = c.block;
        fresh.instrument.GetFaults().badChecksumSends = c.sends;
        const uint32_t start = fresh.clock.TickCount();
        EXPECT_EQ(ReadRecorderListing(fresh.session.Instrument()).has_value(), c.listed);
        const std::string& received = fresh.instrument.Received();
        const std::string sent = received.substr(received.find("bdir\r") + 5);
        EXPECT_EQ(static_cast<size_t>(std::count(sent.begin(), sent.end(), 'b')), c.rejects);
        EXPECT_LT(fresh.clock.TickCount() - start, 60000u);
    }
}

TEST_F(RecorderDirectoryTest, AMissingUsedSpaceBlockLeavesNothingUsed) {
    // Header, three entries and the empty block come; then the recorder hangs.
    sim.instrument.GetFaults().stallAfterBlocks = 5;
    const std::optional<RecorderListing> listing = ReadRecorderListing(sim.session.Instrument());
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing->entries.size(), 3u);
    EXPECT_EQ(listing->used, 0u);
    EXPECT_EQ(listing->FreeBytes(), 4u << 20);
}

}  // namespace
}  // namespace brennix::test
