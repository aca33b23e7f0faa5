#include "platform/job.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace brennix {
namespace {

// Who did what when, in the order it happened.
class Trace {
  public:
    void Note(VirtualClock& clock, const std::string& what) {
        const uint32_t now = clock.TickCount();
        std::lock_guard lock(mutex_);
        events_.push_back(std::to_string(now) + " " + what);
    }
    std::vector<std::string> Events() {
        std::lock_guard lock(mutex_);
        return events_;
    }

  private:
    std::mutex mutex_;
    std::vector<std::string> events_;
};

// A worker ticking every 30 ms beside a main thread stepping every 50 ms, until stopped.
std::vector<std::string> RunTicker() {
    VirtualClock clock(1000);
    Trace trace;
    Job job(clock);
    job.Start([&](const StopEvent& stop) {
        while (!clock.WaitForEvent(stop, 30)) {
            trace.Note(clock, "worker");
        }
        trace.Note(clock, "worker stops");
    });
    for (int step = 0; step < 3; ++step) {
        clock.Sleep(50);
        trace.Note(clock, "main");
    }
    EXPECT_TRUE(job.StopAndWait(10));
    trace.Note(clock, "joined");
    return trace.Events();
}

TEST(VirtualClockThreads, RunOneAtATimeInTheSameOrderEveryRun) {
    const std::vector<std::string> expected = {
        "1030 worker", "1050 main", "1060 worker",       "1090 worker", "1100 main",
        "1120 worker", "1150 main", "1150 worker stops", "1150 joined",
    };
    for (int run = 0; run < 20; ++run) {
        ASSERT_EQ(RunTicker(), expected) << "run " << run;
    }
}

TEST(JobTest, AStopEndsALongWaitAtOnceTheThreadIsJoinedAndTheNextStartIsNotStopped) {
    VirtualClock clock;
    Job job(clock);
    uint32_t woke = 0;
    bool stopped = false;
    job.Start([&](const StopEvent& stop) {
        stopped = clock.WaitForEvent(stop, 15000);
        woke = clock.TickCount();
    });
    clock.Sleep(1000);
    EXPECT_TRUE(job.IsRunning());
    EXPECT_TRUE(job.StopAndWait(1));
    EXPECT_TRUE(stopped);
    EXPECT_EQ(woke, 1000u);
    EXPECT_FALSE(job.IsRunning());

    bool sawStop = true;
    job.Start([&](const StopEvent& stop) { sawStop = stop.IsSet(); });
    ASSERT_TRUE(job.WaitFinished(10));
    EXPECT_FALSE(sawStop) << "a new start begins with the stop event clear";
}

TEST(JobTest, WorkThatIgnoresTheStopIsWaitedForNeverKilled) {
    VirtualClock clock;
    Job job(clock);
    bool finished = false;
    job.Start([&](const StopEvent&) {
        clock.Sleep(500);
        finished = true;
    });
    EXPECT_FALSE(job.StopAndWait(100));
    EXPECT_FALSE(job.Start([](const StopEvent&) {})) << "one work at a time";
    EXPECT_TRUE(job.WaitFinished(1000));
    EXPECT_TRUE(finished);
    EXPECT_EQ(clock.TickCount(), 500u);
}

TEST(JobTest, TheDestructorStopsAndJoins) {
    VirtualClock clock;
    bool stopped = false;
    {
        Job job(clock);
        job.Start([&](const StopEvent& stop) { stopped = clock.WaitForEvent(stop, 60000); });
        clock.Sleep(5);
    }
    EXPECT_TRUE(stopped);
    EXPECT_EQ(clock.TickCount(), 5u);
}

TEST(VirtualClockThreads, AThreadWaitingOutsideTheClockDoesNotHoldTimeBack) {
    VirtualClock clock;
    std::mutex mutex;
    std::condition_variable answered;
    bool answer = false;
    uint32_t answeredAt = 0;
    Job job(clock);
    job.Start([&](const StopEvent&) {
        const OutsideClockWait outside(clock);
        std::unique_lock lock(mutex);
        answered.wait(lock, [&] { return answer; });
        answeredAt = clock.TickCount();
    });
    clock.Sleep(250);
    {
        std::lock_guard lock(mutex);
        answer = true;
    }
    answered.notify_all();
    // The worker comes back when the system schedules it; time does not wait for it meanwhile.
    bool finished = false;
    for (int round = 0; round < 100000 && !finished; ++round) {
        finished = job.WaitFinished(1000);
    }
    ASSERT_TRUE(finished);
    EXPECT_GE(answeredAt, 250u);
}

}  // namespace
}  // namespace brennix
