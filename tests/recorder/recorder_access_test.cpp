#include "recorder/recorder_access.h"

#include <gtest/gtest.h>

#include "sim/sim_recorder.h"
#include "support/sim_session.h"

namespace brennix::test {
namespace {

class RecorderAccessTest : public testing::Test {
  protected:
    RecorderAccessTest() : sim(Settings()) {}

    static sim::Settings Settings() {
        sim::Settings settings;
        settings.recorderCapacity = 8u << 20;
        settings.recorderUsed = 3u * sim::SimRecorder::kSpaceUnit;
        return settings;
    }

    SimSession sim;
    CRecorderAccess access{sim.session.Instrument()};
};

TEST_F(RecorderAccessTest, ListsFilesWithTheirYearsFrom1980AndTheSpace) {
    sim.instrument.Recorder().AddFile({"DEP1.000", std::string(70000, 'x'), 2006, 5, 17, 13, 45, 9});
    sim.instrument.Recorder().AddFile({"DEP1.001", "abc", 2026, 12, 7, 0, 1, 2});
    std::vector<RecorderFileEntry> entries;
    ASSERT_TRUE(access.ReadDirectory(entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "DEP1.000");
    EXPECT_EQ(entries[0].size, 70000u);
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
    // Every block was acknowledged once; nothing was rejected.
    const std::string& sent = sim.instrument.Received();
    EXPECT_EQ(sent.substr(sent.find("bdir")), "bdir\raaaaaa");
}

TEST_F(RecorderAccessTest, ReadsTheDirectoryOnceInItsLife) {
    uint32_t used = 0;
    uint32_t total = 0;
    ASSERT_TRUE(access.GetSpace(used, total));
    sim.instrument.ClearReceived();
    std::vector<RecorderFileEntry> entries;
    ASSERT_TRUE(access.ReadDirectory(entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(sim.instrument.Received(), "");
}

TEST_F(RecorderAccessTest, ABlockThatNeverChecksOutEndsTheListingAfterBoundedRetries) {
    sim.instrument.GetFaults().wrongBlockChecksum = true;
    std::vector<RecorderFileEntry> entries;
    EXPECT_FALSE(access.ReadDirectory(entries));
    // Each of the three attempts at the header was rejected with "b".
    const std::string& sent = sim.instrument.Received();
    EXPECT_EQ(sent.substr(sent.find("bdir")), "bdir\rabbb");
}

TEST_F(RecorderAccessTest, NoReadySignalFailsAfterAboutFiveSeconds) {
    sim.instrument.GetFaults().silent = true;
    const uint32_t start = sim.clock.TickCount();
    EXPECT_FALSE(access.WaitReady());
    const uint32_t elapsed = sim.clock.TickCount() - start;
    EXPECT_GE(elapsed, 5000u);
    EXPECT_LT(elapsed, 5200u);
}

}  // namespace
}  // namespace brennix::test
