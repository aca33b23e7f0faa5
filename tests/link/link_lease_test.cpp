#include "link/link_lease.h"

#include <gtest/gtest.h>

#include <array>

#include "link/detached_output.h"
#include "platform/job.h"
#include "support/sim_line.h"

namespace brennix::test {
namespace {

// A job reads a silent line for 15 s under a lease with its stop event; the main thread stops
// it at 1 s. The read must end then, not after its time-out.
TEST(LinkLease, AStopEndsAFifteenSecondReadWithinOnePollStep) {
    SimLine line;
    line.instrument.GetFaults().silent = true;
    Job job(line.clock);
    bool found = true;
    uint32_t ended = 0;
    {
        const LinkLease lease(line.link, &job.Stop());
        job.Start([&](const StopEvent&) {
            std::array<char, 64> reply{};
            found = line.link.ReadUntil(reply, ">", 15000, '\0', true);
            ended = line.clock.TickCount();
        });
        line.clock.Sleep(1000);
        ASSERT_TRUE(job.StopAndWait(5));
    }
    EXPECT_FALSE(found);
    EXPECT_LE(ended, 1001u);
    EXPECT_FALSE(line.link.Waits().StopRequested())
        << "the stop belongs to the lease, not the link";
}

TEST(LinkLease, HoldsTheLinkWhileItLivesNestedLeasesRestoreTheOuterStopAndAStoppedOneWaitsNot) {
    SimLine line;
    StopEvent outerStop;
    StopEvent innerStop;
    innerStop.Set();
    EXPECT_FALSE(line.link.Waits().IsLeased());
    {
        const LinkLease outer(line.link, &outerStop);
        EXPECT_TRUE(line.link.Waits().IsLeased());
        {
            const LinkLease inner(line.link, &innerStop);
            EXPECT_TRUE(line.link.Waits().StopRequested());
            // A stopped link neither pauses nor waits for input.
            const uint32_t start = line.clock.TickCount();
            line.link.Waits().Pause(2000);
            std::array<uint8_t, 4> bytes{};
            size_t done = 0;
            EXPECT_FALSE(line.link.Read(bytes, done, 3000, false));
            EXPECT_EQ(line.clock.TickCount(), start);
            const LinkLease plain(line.link);
            EXPECT_TRUE(line.link.Waits().StopRequested())
                << "a lease without a stop keeps the one in force";
        }
        EXPECT_FALSE(line.link.Waits().StopRequested());
        EXPECT_TRUE(line.link.Waits().IsLeased());
    }
    EXPECT_FALSE(line.link.Waits().IsLeased());
}

TEST(DetachedOutput, KeepsTheExchangeOutOfTheWindowAndGivesItBack) {
    SimLine line;
    {
        const DetachedOutput detached(line.link);
        line.link.Tap().Print("hidden");
    }
    line.link.Tap().Print("shown");
    EXPECT_EQ(line.terminal.Text(), "shown");
}

}  // namespace
}  // namespace brennix::test
