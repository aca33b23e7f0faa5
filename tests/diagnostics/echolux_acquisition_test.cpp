#include "diagnostics/echolux_acquisition.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "diagnostics/echolux_setup.h"
#include "instrument/instrument_codes.h"
#include "sim/diagnostic_frame.h"
#include "support/sim_session.h"

namespace brennix::test {
namespace {

// Everything the acquisition reported, with the tick it arrived at.
class Reports : public EcholuxListener {
  public:
    explicit Reports(Clock& clock) : clock_(clock) {}

    void OnProgress(int percent) override {
        const std::lock_guard lock(mutex_);
        if (percent == 0) {
            windowStarts.push_back(clock_.TickCount());
        }
    }
    void OnFrame(std::shared_ptr<const EcholuxSnapshot> snapshot) override {
        const std::lock_guard lock(mutex_);
        frames.push_back(std::move(snapshot));
        frameTicks.push_back(clock_.TickCount());
    }
    void OnFrameMissed() override {
        const std::lock_guard lock(mutex_);
        ++missed;
    }
    void OnPlaybackEnded(uint32_t framesPlayed) override {
        const std::lock_guard lock(mutex_);
        playbackEndedAfter = framesPlayed;
    }
    void OnRecordingFailed() override {
        const std::lock_guard lock(mutex_);
        recordingFailed = true;
    }
    void OnConnectionLost() override {
        const std::lock_guard lock(mutex_);
        connectionLost = true;
    }
    size_t FrameCount() {
        const std::lock_guard lock(mutex_);
        return frames.size();
    }

    std::vector<std::shared_ptr<const EcholuxSnapshot>> frames;
    std::vector<uint32_t> frameTicks;
    std::vector<uint32_t> windowStarts;
    int missed = 0;
    std::optional<uint32_t> playbackEndedAfter;
    bool recordingFailed = false;
    bool connectionLost = false;

  private:
    Clock& clock_;
    std::mutex mutex_;
};

sim::Settings Mirovan(std::optional<uint8_t> firmware = std::nullopt) {
    sim::Settings settings;
    settings.cpuVersion = firmware;
    return settings;
}

// The set-up, then the acquisition on the simulator, on virtual time.
class AcquisitionTest : public testing::Test {
  protected:
    void Open(const sim::Settings& settings, int model = kMirovan) {
        sim_ = std::make_unique<SimSession>(settings);
        const auto setup = RunEcholuxSetup(sim_->session.Instrument(), model, sim_->ui);
        ASSERT_TRUE(setup);
        rules_ = setup->rules;
        reports_ = std::make_unique<Reports>(sim_->clock);
        acquisition_ = std::make_unique<CEcholuxAcquisition>(sim_->session.Instrument(), sim_->ui,
                                                             rules_, *reports_);
    }

    // Lets virtual time pass until done() or limitMs have passed.
    void RunUntil(const std::function<bool()>& done, uint32_t limitMs) {
        for (uint32_t waited = 0; waited < limitMs && !done(); waited += 100) {
            sim_->clock.Sleep(100);
        }
    }
    void RunFrames(size_t count, uint32_t limitMs = 30000) {
        RunUntil([&] { return reports_->FrameCount() >= count; }, limitMs);
    }
    void Stop() {
        acquisition_->RequestStop();
        ASSERT_TRUE(acquisition_->WaitFinished(10));
    }
    void TearDown() override {
        if (acquisition_) {
            Stop();
        }
    }

    std::unique_ptr<SimSession> sim_;
    FrameRules rules_;
    std::unique_ptr<Reports> reports_;
    std::unique_ptr<CEcholuxAcquisition> acquisition_;
};

TEST(CollectionWindow, LastsLongerAtLowRates) {
    EXPECT_EQ(CEcholuxAcquisition::CollectionWindowMs(9600), 6000u);
    EXPECT_EQ(CEcholuxAcquisition::CollectionWindowMs(57600), 1833u);
    EXPECT_EQ(CEcholuxAcquisition::CollectionWindowMs(58000), 2827u);
    EXPECT_EQ(CEcholuxAcquisition::CollectionWindowMs(115200), 2416u);
}

TEST_F(AcquisitionTest, EachPingAsksTheInstrumentAndShowsItsEchoAfterTheWholeWindow) {
    Open(Mirovan());
    sim_->instrument.ClearReceived();
    ASSERT_TRUE(acquisition_->Start());
    RunFrames(2);
    ASSERT_EQ(reports_->FrameCount(), 2u);
    const EcholuxSnapshot& first = *reports_->frames[0];
    EXPECT_EQ(first.ping, 1u);
    EXPECT_EQ(reports_->frames[1]->ping, 2u);
    EXPECT_EQ(first.cells, 498u);
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        EXPECT_GT(first.figures.peakLevel[beam], 100) << beam;
        EXPECT_GE(first.figures.peakPosition[beam], 24 + 5 * 27);
        EXPECT_LE(first.figures.peakPosition[beam], 24 + 5 * 41);
        EXPECT_LT(first.figures.noise[beam], 40);
    }
    EXPECT_NEAR(first.range[497], 0.35 + 497 * 0.0435, 0.01);
    // The frame waits for the end of its 6 s window at 9600 baud, however early it came.
    EXPECT_GE(reports_->frameTicks[0] - reports_->windowStarts[0], 5990u);
    const std::string& sent = sim_->instrument.Received();
    EXPECT_LT(sent.find(" \r"), sent.find("Amp\r"));
}

// Wherever the job is (asking, collecting, between pings) it ends within one 10 ms step and,
// being stopped, reports nothing to the user.
TEST_F(AcquisitionTest, StopsWithinOneStepWhereverItIs) {
    for (const uint32_t after : {0u, 50u, 900u, 3000u, 6500u, 6990u}) {
        Open(Mirovan());
        ASSERT_TRUE(acquisition_->Start());
        sim_->clock.Sleep(after);
        const uint32_t asked = sim_->clock.TickCount();
        acquisition_->RequestStop();
        EXPECT_TRUE(acquisition_->WaitFinished(10)) << after;
        EXPECT_LE(sim_->clock.TickCount() - asked, 10u) << after;
        EXPECT_TRUE(sim_->ui.messages.empty()) << after;
    }
}

struct FaultCase {
    const char* name;
    sim::Settings settings;
    sim::FrameFault fault;
    size_t cells;  // 0: no frame decodes
};

class AcquisitionFaults : public AcquisitionTest, public testing::WithParamInterface<FaultCase> {};

TEST_P(AcquisitionFaults, SpoiledFramesAreDroppedTrustedOnesShown) {
    const FaultCase& c = GetParam();
    Open(c.settings, c.settings.model == sim::Model::kFendrel ? kFendrel : kMirovan);
    sim_->instrument.GetFaults().frameFault = c.fault;
    ASSERT_TRUE(acquisition_->Start());
    RunFrames(1, 14000);
    if (c.cells == 0) {
        EXPECT_EQ(reports_->FrameCount(), 0u);
        EXPECT_EQ(reports_->missed, 2) << "one for each collection window";
    } else {
        ASSERT_EQ(reports_->FrameCount(), 1u);
        EXPECT_EQ(reports_->frames[0]->cells, c.cells);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, AcquisitionFaults,
    testing::Values(
        FaultCase{"CheckedAndRight", Mirovan(60), sim::FrameFault::kNone, 498},
        FaultCase{"CheckedAndWrong", Mirovan(60), sim::FrameFault::kBadChecksum, 0},
        // Firmware 3.8 leaves noise in the checksum byte; it is not looked at.
        FaultCase{"OldFirmwareUnchecked", Mirovan(), sim::FrameFault::kBadChecksum, 498},
        FaultCase{"FendrelChecked", {.model = sim::Model::kFendrel}, sim::FrameFault::kNone, 498},
        FaultCase{"At3000kHz", {.cpuVersion = 60, .frequencyCode = 0}, sim::FrameFault::kNone, 512},
        FaultCase{"Truncated", Mirovan(), sim::FrameFault::kTruncated, 0},
        FaultCase{"TooManyCells", Mirovan(), sim::FrameFault::kTooManyCells, 0}),
    [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

TEST_F(AcquisitionTest, RecordsFramesThatPlayBackToTheSameFigures) {
    const std::string path = testing::TempDir() + "acquisition_test.ecx";
    Open(Mirovan());
    acquisition_->OpenRecording(DiagnosticFile(std::fopen(path.c_str(), "w")));
    ASSERT_TRUE(acquisition_->Start());
    RunFrames(2);
    acquisition_->CloseFile();
    const std::vector<std::shared_ptr<const EcholuxSnapshot>> live(reports_->frames.begin(),
                                                                   reports_->frames.begin() + 2);
    reports_->frames.clear();
    acquisition_->OpenPlayback(DiagnosticFile(std::fopen(path.c_str(), "r")));
    RunUntil([&] { return reports_->playbackEndedAfter.has_value(); }, 30000);
    std::remove(path.c_str());
    ASSERT_EQ(reports_->playbackEndedAfter, 2u);
    ASSERT_GE(reports_->frames.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const EcholuxSnapshot& played = *reports_->frames[reports_->frames.size() - 2 + i];
        EXPECT_EQ(played.ping, i + 1);
        EXPECT_EQ(played.cells, live[i]->cells);
        EXPECT_EQ(played.amplitude, live[i]->amplitude);
        EXPECT_EQ(played.figures.noise, live[i]->figures.noise);
        EXPECT_EQ(played.figures.peakPosition, live[i]->figures.peakPosition);
        EXPECT_EQ(played.figures.sinMax, live[i]->figures.sinMax);
    }
}

TEST_F(AcquisitionTest, ARecordingThatCannotBeWrittenIsClosedAndSaidSo) {
    Open(Mirovan());
    acquisition_->OpenRecording(DiagnosticFile(std::fopen("/dev/full", "w")));
    ASSERT_TRUE(acquisition_->Start());
    RunFrames(1);
    EXPECT_TRUE(reports_->recordingFailed);
    EXPECT_EQ(reports_->FrameCount(), 1u) << "the frame is shown all the same";
    EXPECT_EQ(acquisition_->OpenFile(), CEcholuxAcquisition::FileMode::kNone);
}

TEST_F(AcquisitionTest, APortThatGoesAwayEndsTheAcquisition) {
    Open(Mirovan());
    ASSERT_TRUE(acquisition_->Start());
    RunFrames(1);
    sim_->device.SetVanished(true);
    RunUntil([&] { return !acquisition_->IsRunning(); }, 20000);
    EXPECT_TRUE(reports_->connectionLost);
    EXPECT_FALSE(acquisition_->IsRunning());
}

// The simulator's pings are repeatable, so each frame's own amplitudes are known.
TEST_F(AcquisitionTest, AveragingSwitchedOnAveragesFromTheNextFrameOn) {
    Open(Mirovan());
    ASSERT_TRUE(acquisition_->Start());
    RunFrames(1);
    acquisition_->SetAveraging(true);
    RunFrames(3, 40000);
    ASSERT_GE(reports_->FrameCount(), 3u);
    const auto sent = [&](uint32_t ping) {
        const sim::ConfigBlocks blocks(sim::Settings{});
        const std::string frame =
            sim::DiagnosticFrame::Build(sim::Model::kMirovan, blocks, ping, sim::FrameFault::kNone);
        return *DecodeInstrumentFrame(std::vector<uint8_t>(frame.begin(), frame.end()), rules_);
    };
    const BeamFrame second = sent(2);
    const BeamFrame third = sent(3);
    for (const size_t cell : {0u, 33u, 400u}) {
        EXPECT_EQ(reports_->frames[1]->amplitude[1][cell], second.amplitude[1][cell]);
        EXPECT_EQ(reports_->frames[2]->amplitude[1][cell],
                  (second.amplitude[1][cell] + third.amplitude[1][cell]) / 2);
    }
}

}  // namespace
}  // namespace brennix::test
