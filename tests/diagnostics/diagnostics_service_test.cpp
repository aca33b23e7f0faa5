// The beam diagnostics as both programs run them: set-up and acquisition on a worker, reporting
// through the relay on the virtual clock, closed at any moment with the instrument left answering.
#include "diagnostics/diagnostics_service.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "instrument/instrument_codes.h"
#include "link/detached_output.h"
#include "link/serial_poll.h"
#include "sim/diagnostic_frame.h"
#include "support/sim_session.h"

namespace brennix::test {
namespace {

struct Heard : DiagnosticsListener {
    explicit Heard(Clock& c) : clock(c) {}
    void OnSetUp(const EcholuxSetup& value) override { setup = value; }
    void OnSetupRefused() override { refused = true; }
    void OnProgress(int percent) override {
        lastProgressTick = clock.TickCount();
        if (percent == 0) {
            windowStarts.push_back(lastProgressTick);
        }
    }
    void OnFrame(std::shared_ptr<const EcholuxSnapshot> snapshot) override {
        frames.push_back(std::move(snapshot));
        frameTicks.push_back(clock.TickCount());
    }
    void OnFrameMissed() override { ++missed; }
    void OnPlaybackEnded(uint32_t framesPlayed) override { playbackEndedAfter = framesPlayed; }
    void OnRecordingFailed() override { recordingFailed = true; }
    void OnConnectionLost() override { connectionLost = true; }

    Clock& clock;
    std::optional<EcholuxSetup> setup;
    bool refused = false;
    uint32_t lastProgressTick = 0;
    std::vector<uint32_t> windowStarts;
    std::vector<std::shared_ptr<const EcholuxSnapshot>> frames;
    std::vector<uint32_t> frameTicks;
    int missed = 0;
    std::optional<uint32_t> playbackEndedAfter;
    bool recordingFailed = false;
    bool connectionLost = false;
};

// While the worker waits for a message to be answered, virtual time runs on for the test as fast
// as it pumps: after one, a wait is bounded by its event, not by a time.
constexpr uint32_t kAnsweringMs = 3600000;

// The service on a simulated instrument; closed, and its end awaited, when the rig goes.
struct DiagnosticsRig {
    explicit DiagnosticsRig(const sim::Settings& settings = {}) : sim(settings) {}
    ~DiagnosticsRig() {
        service.Close();
        EXPECT_TRUE(sim.PumpUntil([this] { return !service.IsOpen(); }, 20000));
    }

    void Open(int model = kMirovan, bool setUp = true) {
        ASSERT_TRUE(service.Open({.model = model, .setUp = setUp}, [this] { closed = true; }));
    }
    bool Frames(size_t count, uint32_t limitMs = 30000) {
        return sim.PumpUntil([&] { return heard.frames.size() >= count; }, limitMs);
    }
    // Closes the service and checks that it stopped at once (nothing more asked, no progress),
    // ended, and that the instrument answers again.
    void CloseAndCheckTheInstrumentAnswers() {
        const size_t asked = sim.instrument.Received().size();
        const uint32_t closing = sim.clock.TickCount();
        service.Close();
        ASSERT_TRUE(sim.PumpUntil([this] { return closed; }, 8000));
        EXPECT_EQ(sim.instrument.Received().find_first_not_of("\r\n ", asked), std::string::npos)
            << sim.instrument.Received().substr(asked);
        EXPECT_LE(heard.lastProgressTick, closing + SimSession::kPumpStepMs);
        EXPECT_FALSE(sim.link.Waits().IsLeased());
        EXPECT_TRUE(sim.session.Instrument().SendCommand("Ver"));
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& message : sim.ui.messages) {
            texts.push_back(message.text);
        }
        return texts;
    }

    SimSession sim;
    Heard heard{sim.clock};
    DiagnosticsService service{sim.session, sim.relay, heard};
    bool closed = false;
};

class DiagnosticsServiceTest : public testing::Test, public DiagnosticsRig {};

TEST_F(DiagnosticsServiceTest, SetsUpThenShowsEachPingAfterItsWholeWindow) {
    Open();
    ASSERT_TRUE(Frames(2));
    EXPECT_TRUE(Messages().empty());
    const std::string& sent = sim.instrument.Received();
    size_t at = 0;
    for (const char* command : {"get Conf\r", "CSset 15\r", "BDset 0.1\r", "PlSet 0.50\r", "OF\r",
                                "OF Binary\r", " \r", "Amp\r"}) {
        at = sent.find(command, at);
        EXPECT_NE(at, std::string::npos) << command << " in " << sent;
    }
    const EcholuxSnapshot& first = *heard.frames[0];
    EXPECT_EQ(first.ping, 1u);
    EXPECT_EQ(heard.frames[1]->ping, 2u);
    EXPECT_EQ(first.cells, 498u);
    EXPECT_FLOAT_EQ(first.horizontalSpan, 22.0f);
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        EXPECT_GT(first.figures.peakLevel[beam], 100) << beam;
        EXPECT_GE(first.figures.peakPosition[beam], 24 + 5 * 27);
        EXPECT_LE(first.figures.peakPosition[beam], 24 + 5 * 41);
        EXPECT_LT(first.figures.noise[beam], 40);
    }
    EXPECT_NEAR(first.range[497], 0.35 + 497 * 0.0435, 0.01);
    // The frame is all there after 4.9 s at 9600 baud, but waits for the end of its 6 s window.
    EXPECT_GE(heard.frameTicks[0] - heard.windowStarts[0], 5900u);
    CloseAndCheckTheInstrumentAnswers();
}

using Lines = std::vector<std::string>;

struct SetupCase {
    const char* name;
    sim::Settings settings;
    int model;
    sim::Faults faults = {};
    Lines messages = {};  // empty: set up
};

// Without its configuration the set-up goes on; a refused setting ends the service.
TEST(DiagnosticsSetUp, TravelTimeTakesNoSettingsARefusalEndsIt) {
    const std::string failed = "Failed to setup instrument!";
    const sim::Faults refused{.refusedSettings = {"BDset"}};
    for (const SetupCase& c :
         {SetupCase{"Corvex", sim::Settings{.model = sim::Model::kCorvex}, kCorvex},
          SetupCase{"Silent", sim::Settings{}, kMirovan, sim::Faults{.silent = true},
                    Lines{"Unable to read setup from the instrument", failed}},
          SetupCase{"BlankDistanceRefused", sim::Settings{}, kMirovan, refused, Lines{failed}}}) {
        SCOPED_TRACE(c.name);
        DiagnosticsRig t(c.settings);
        t.sim.instrument.GetFaults() = c.faults;
        t.Open(c.model);
        ASSERT_TRUE(t.sim.PumpUntil([&t] { return t.heard.setup || t.closed; }, kAnsweringMs));
        std::vector<std::string> said = t.Messages();
        std::erase(said, "FAIL TO LOCATE PROMPT");  // the instrument's own, as each command fails
        EXPECT_EQ(said, c.messages);
        if (c.messages.empty()) {
            EXPECT_FLOAT_EQ(t.heard.setup->horizontalSpan, 750.0f);
            EXPECT_TRUE(t.heard.setup->rules.travelTime);
            EXPECT_EQ(t.sim.instrument.Received().find("set"), std::string::npos);
        } else {
            EXPECT_TRUE(t.heard.refused);
            EXPECT_TRUE(t.sim.PumpUntil([&t] { return t.closed; }, 2000));
        }
    }
}

struct FaultCase {
    const char* name;
    sim::Settings settings;
    sim::FrameFault fault;
    size_t cells;  // 0: no frame decodes
};

TEST(DiagnosticsFrames, SpoiledFramesAreDroppedTrustedOnesShown) {
    for (const FaultCase& c :
         {FaultCase{"CheckedAndRight", {.cpuVersion = 60}, sim::FrameFault::kNone, 498},
          FaultCase{"CheckedAndWrong", {.cpuVersion = 60}, sim::FrameFault::kBadChecksum, 0},
          // Firmware 3.8 leaves noise in the checksum byte; it is not looked at.
          FaultCase{"OldFirmwareUnchecked", {}, sim::FrameFault::kBadChecksum, 498},
          FaultCase{"FendrelChecked", {.model = sim::Model::kFendrel}, sim::FrameFault::kNone, 498},
          // The decoder's other refusals: FrameDecoding.
          FaultCase{
              "At3000kHz", {.cpuVersion = 60, .frequencyCode = 0}, sim::FrameFault::kNone, 512}}) {
        SCOPED_TRACE(c.name);
        DiagnosticsRig t(c.settings);
        t.sim.instrument.GetFaults().frameFault = c.fault;
        t.Open(c.settings.model == sim::Model::kFendrel ? kFendrel : kMirovan);
        if (c.cells == 0) {
            ASSERT_TRUE(t.sim.PumpUntil([&t] { return t.heard.missed == 2; }));
            EXPECT_TRUE(t.heard.frames.empty());
        } else {
            ASSERT_TRUE(t.Frames(1));
            EXPECT_EQ(t.heard.frames[0]->cells, c.cells);
            EXPECT_EQ(t.heard.missed, 0);
        }
    }
}

// Played back without an instrument, as brennix-cli diag --play does: the same figures, counted
// from 1, and the instrument hears nothing.
TEST_F(DiagnosticsServiceTest, RecordsFramesThatPlayBackToTheSameFigures) {
    const std::string path = testing::TempDir() + "diagnostics_service_test.ecx";
    ASSERT_FALSE(service.OpenRecording(path));
    Open();
    ASSERT_TRUE(Frames(2));
    CloseAndCheckTheInstrumentAnswers();
    EXPECT_EQ(service.OpenPlayback("/no/such.ecx"), "No such file or directory");
    ASSERT_FALSE(service.OpenPlayback(path));
    sim.instrument.ClearReceived();
    const std::vector live(heard.frames.begin(), heard.frames.begin() + 2);
    heard.frames.clear();
    closed = false;
    Open(kMirovan, false);
    ASSERT_TRUE(sim.PumpUntil([this] { return heard.playbackEndedAfter.has_value(); }));
    std::remove(path.c_str());
    EXPECT_EQ(heard.playbackEndedAfter, 2u);
    ASSERT_EQ(heard.frames.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(heard.frames[i]->ping, i + 1);
        EXPECT_EQ(heard.frames[i]->cells, live[i]->cells);
        EXPECT_EQ(heard.frames[i]->amplitude, live[i]->amplitude);
        EXPECT_EQ(heard.frames[i]->figures.sinMax, live[i]->figures.sinMax);
    }
    EXPECT_EQ(sim.instrument.Received(), "");
}

// Closed half-way through a frame at 9600 baud: the rest of the frame (2 KB and more) goes to the
// log only, the technician's own output format is put back, and the terminal, detached while the
// service ran as both programs do, hears nothing more; its next command meets the prompt.
TEST_F(DiagnosticsServiceTest, ClosedMidFrameLeavesTheTerminalAQuietInstrumentAsItWas) {
    ASSERT_TRUE(sim.session.Instrument().CommandOk("OF ASCII", 3000));
    {
        const DetachedOutput detached(sim.link);
        Open();
        ASSERT_TRUE(sim.PumpUntil([this] { return heard.setup.has_value(); }));
        sim.PumpUntil([] { return false; }, 2000);
        service.Close();
        ASSERT_TRUE(sim.PumpUntil([this] { return closed; }, 10000));
    }
    sim.terminal.SetText("");
    for (int poll = 0; poll < 60; ++poll) {
        sim.clock.Sleep(100);
        SerialPoll::Run(sim.link);
    }
    EXPECT_EQ(sim.terminal.Text(), "");
    ASSERT_TRUE(sim.session.Instrument().SendCommand("OF"));
    sim.clock.Sleep(500);
    SerialPoll::Run(sim.link);
    EXPECT_NE(sim.terminal.Text().find("of ASCII"), std::string::npos) << sim.terminal.Text();
}

// A recording that cannot be written is closed and said so; the service goes on until its port
// goes away.
TEST_F(DiagnosticsServiceTest, ARecordingThatCannotBeWrittenIsClosedAndALostPortEndsTheService) {
    ASSERT_FALSE(service.OpenRecording("/dev/full"));
    Open();
    ASSERT_TRUE(Frames(1));
    EXPECT_TRUE(heard.recordingFailed);
    EXPECT_EQ(service.OpenFile(), DiagnosticsService::FileMode::kNone);
    sim.device.SetVanished(true);
    ASSERT_TRUE(sim.PumpUntil([this] { return closed; }, kAnsweringMs));
    EXPECT_TRUE(heard.connectionLost);
}

// The simulator's pings are repeatable, so each frame's own amplitudes are known.
TEST_F(DiagnosticsServiceTest, AveragingSwitchedOnAveragesFromTheNextFrameOn) {
    Open();
    ASSERT_TRUE(Frames(1));
    service.SetAveraging(true);
    ASSERT_TRUE(Frames(3));
    const auto sent = [&](uint32_t ping) {
        const sim::ConfigBlocks blocks(sim::Settings{});
        const std::string frame =
            sim::DiagnosticFrame::Build(sim::Model::kMirovan, blocks, ping, sim::FrameFault::kNone);
        return *DecodeInstrumentFrame(std::vector<uint8_t>(frame.begin(), frame.end()),
                                      heard.setup->rules);
    };
    const BeamFrame second = sent(2);
    const BeamFrame third = sent(3);
    for (const size_t cell : {0u, 33u, 400u}) {
        EXPECT_EQ(heard.frames[1]->amplitude[1][cell], second.amplitude[1][cell]);
        EXPECT_EQ(heard.frames[2]->amplitude[1][cell],
                  (second.amplitude[1][cell] + third.amplitude[1][cell]) / 2);
    }
}

enum class Mode { kInstrument, kRecording, kPlayback };

class ClosedAnyTime : public DiagnosticsServiceTest,
                      public testing::WithParamInterface<std::tuple<Mode, uint32_t>> {};

// Setting up, asking, collecting, between pings, recording or playing back: the service ends
// within a few steps, says nothing, and the instrument answers afterwards.
TEST_P(ClosedAnyTime, EndsPromptlyAndLeavesTheInstrumentAnswering) {
    const auto [mode, after] = GetParam();
    // Each moment runs as a process of its own, side by side with the others: a file each.
    const std::string path =
        testing::TempDir() + "closed_any_time_" + std::to_string(::getpid()) + ".ecx";
    if (mode == Mode::kPlayback) {
        std::FILE* file = std::fopen(path.c_str(), "w");
        std::fputs("\n0 0.35 1 2 3 4 5 6 7 8 9\n1 0.40 1 2 3 4 5 6 7 8 9", file);
        std::fclose(file);
        ASSERT_FALSE(service.OpenPlayback(path));
    } else if (mode == Mode::kRecording) {
        ASSERT_FALSE(service.OpenRecording(path));
    }
    Open();
    sim.PumpUntil([] { return false; }, after);
    CloseAndCheckTheInstrumentAnswers();
    EXPECT_TRUE(Messages().empty());
    std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Moments, ClosedAnyTime,
                         testing::Combine(testing::Values(Mode::kInstrument, Mode::kRecording,
                                                          Mode::kPlayback),
                                          testing::Values(0u, 50u, 900u, 3000u, 6500u, 9100u)));

}  // namespace
}  // namespace brennix::test
