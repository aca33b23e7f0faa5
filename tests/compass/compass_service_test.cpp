// The compass calibration as both programs run it: on a worker, reporting through the relay,
// closed at any moment with the instrument left answering.
#include "compass/compass_service.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/sim_session.h"

namespace brennix::test {
namespace {

struct Heard : CompassListener {
    void OnReady(bool value) override { ready = value; }
    void OnAttitude(const Attitude& attitude) override { attitudes.push_back(attitude); }
    void OnScores(const std::optional<CompassScores>& value) override { scores = value; }

    std::optional<bool> ready;
    std::vector<Attitude> attitudes;
    std::optional<std::optional<CompassScores>> scores;
};

class CompassServiceTest : public testing::Test {
  protected:
    explicit CompassServiceTest(const sim::Settings& settings = {}) : sim(settings) {}

    void Open() {
        ASSERT_TRUE(service.Open([this] { closed = true; }));
    }
    // Closes the service and checks that it ended, and that the instrument answers again.
    void CloseAndCheckTheInstrumentAnswers() {
        service.Close();
        ASSERT_TRUE(sim.PumpUntil([this] { return closed; }, 2000));
        EXPECT_FALSE(sim.link.Waits().IsLeased());
        EXPECT_TRUE(sim.session.Instrument().SendCommand("Ver"));
    }

    SimSession sim;
    Heard heard;
    CompassService service{sim.session, sim.relay, heard};
    bool closed = false;
};

// A finish before the start asks nothing.
TEST_F(CompassServiceTest, CalibratesFollowingTheAttitudeThenScoresAndBreaksAtTheClose) {
    Open();
    ASSERT_TRUE(sim.PumpUntil([this] { return heard.ready.has_value(); }));
    ASSERT_TRUE(*heard.ready);
    service.FinishCalibration();
    sim.PumpUntil([] { return false; }, 1000);
    EXPECT_FALSE(heard.scores);
    service.StartCalibration();
    service.StartCalibration();
    sim.PumpUntil([] { return false; }, 3000);
    EXPECT_GE(heard.attitudes.size(), 5u);
    EXPECT_GT(heard.attitudes.back().heading, heard.attitudes.front().heading);

    service.FinishCalibration();
    ASSERT_TRUE(sim.PumpUntil([this] { return heard.scores.has_value(); }, 4000));
    ASSERT_TRUE(*heard.scores);
    EXPECT_DOUBLE_EQ((*heard.scores)->field, 23.4);
    const std::string& sent = sim.instrument.Received();
    EXPECT_EQ(sent.find("compass cal\r"), sent.rfind("compass cal\r")) << "started once";

    const size_t breaks = sim.device.BreakTicks().size();
    CloseAndCheckTheInstrumentAnswers();
    EXPECT_GT(sim.device.BreakTicks().size(), breaks);
}

TEST_F(CompassServiceTest, ACompassThatDoesNotAnswerIsReportedAndGetsNoBreak) {
    sim.instrument.GetFaults().noCompass = true;
    Open();
    ASSERT_TRUE(sim.PumpUntil([this] { return heard.ready.has_value(); }));
    EXPECT_FALSE(*heard.ready);
    CloseAndCheckTheInstrumentAnswers();
    EXPECT_TRUE(sim.device.BreakTicks().empty());
}

// Closed during the init, while calibrating and while the scores are awaited: the job ends
// within a few polls, and a calibration that was running is ended by the BREAK.
class CompassClosedAnyTime : public CompassServiceTest,
                             public testing::WithParamInterface<uint32_t> {};

TEST_P(CompassClosedAnyTime, EndsPromptlyAndLeavesTheInstrumentAnswering) {
    Open();
    sim.PumpUntil([this] { return heard.ready.has_value(); }, 100);
    if (heard.ready) {
        service.StartCalibration();
        sim.PumpUntil([] { return false; }, GetParam());
        service.FinishCalibration();
        sim.PumpUntil([] { return false; }, GetParam() % 3000);
    }
    const uint32_t closing = sim.clock.TickCount();
    CloseAndCheckTheInstrumentAnswers();
    EXPECT_LT(sim.clock.TickCount() - closing, 1500u);
    EXPECT_EQ(sim.device.BreakTicks().empty(), !heard.ready.value_or(false));
}

INSTANTIATE_TEST_SUITE_P(Moments, CompassClosedAnyTime, testing::Values(0u, 150u, 1000u, 2999u));

}  // namespace
}  // namespace brennix::test
