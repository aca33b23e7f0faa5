#include "compass/compass_calibration.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/sim_session.h"

namespace brennix::test {
namespace {

class CompassCalibrationTest : public testing::Test {
  protected:
    SimSession sim;
    CCompassCalibration calibration{sim.session.Instrument()};
};

// The attitude follows the instrument's latest line as it turns, a flood of lines keeps only the
// newest, and stopping after two turns reads the scores they earn.
TEST_F(CompassCalibrationTest, AttitudeFollowsTheLatestLineAndStopReadsTheScores) {
    ASSERT_TRUE(calibration.Init());
    calibration.Start();
    sim.clock.Sleep(2000);
    const std::optional<Attitude> early = calibration.ReadAttitude();
    ASSERT_TRUE(early);
    sim.clock.Sleep(5000);
    const std::optional<Attitude> later = calibration.ReadAttitude();
    ASSERT_TRUE(later);
    // One turn a minute: five seconds move the heading by about 30 degrees.
    EXPECT_NEAR(later->heading - early->heading, 30.0, 3.0);
    // Nothing new arrived: the same attitude again.
    EXPECT_EQ(calibration.ReadAttitude(), later);

    sim.clock.Sleep(60000);  // some 150 lines, well over the 1000 bytes kept
    const std::optional<Attitude> attitude = calibration.ReadAttitude();
    ASSERT_TRUE(attitude);
    // The simulated compass turns 6 degrees a second from 37.5; a line comes every 0.4 s.
    const double now = std::fmod(37.5 + 0.006 * sim.clock.TickCount(), 360.0);
    EXPECT_NEAR(attitude->heading, now, 3.0);

    sim.clock.Sleep(53000);
    calibration.ReadAttitude();
    const std::optional<CompassScores> scores = calibration.Finish();
    ASSERT_TRUE(scores);
    EXPECT_EQ(scores->horizontal, 9);
    EXPECT_EQ(scores->vertical, 8);
    EXPECT_DOUBLE_EQ(scores->field, 23.4);
    EXPECT_FALSE(calibration.IsCalibrating());
}

// The scores must be in within three seconds of the blank line.
TEST_F(CompassCalibrationTest, ScoresLaterThanThreeSecondsAreMissed) {
    for (const auto& [delayMs, read] : {std::pair{2800u, true}, std::pair{3200u, false}}) {
        ASSERT_TRUE(calibration.Init());
        calibration.Start();
        sim.clock.Sleep(1000);
        calibration.ReadAttitude();
        sim.instrument.GetFaults().extraDelayMs = delayMs;
        EXPECT_EQ(calibration.Finish().has_value(), read) << delayMs;
        EXPECT_FALSE(calibration.IsCalibrating());
        sim.instrument.GetFaults().extraDelayMs = 0;
        sim.clock.Sleep(2000);
        sim.link.FlushInput(true);
    }
}

TEST_F(CompassCalibrationTest, AMissingScoreLineEndsTheCalibrationAllTheSame) {
    ASSERT_TRUE(calibration.Init());
    calibration.Start();
    sim.instrument.GetFaults().compassScoreMissing = true;
    EXPECT_FALSE(calibration.Finish());
    EXPECT_FALSE(calibration.IsCalibrating());
    EXPECT_TRUE(calibration.Start()) << "a new calibration may start";
}

// A compass that answers is ready; one that refuses or stays silent is not.
TEST(CompassInit, NeedsTheOkWithinFourSeconds) {
    for (const auto& [faults, ready] : {std::pair{sim::Faults{}, true},
                                        {sim::Faults{.noCompass = true}, false},
                                        {sim::Faults{.silent = true}, false}}) {
        SimSession sim;
        sim.instrument.GetFaults() = faults;
        CCompassCalibration calibration(sim.session.Instrument());
        EXPECT_EQ(calibration.Init(), ready) << faults.noCompass << faults.silent;
    }
}

}  // namespace
}  // namespace brennix::test
