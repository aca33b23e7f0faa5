// The setup service on the simulator and virtual time: what goes on the wire when pages are left,
// applied and deployed, the refusals, "SaveSetup", the SDI-12 dialog's questions, and a job
// stopped at any moment.
#include "setup/setup_service.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "instrument/instrument_codes.h"
#include "setup/setup_rig.h"

namespace brennix::test {
namespace {

using enum SetupControl;

sim::Settings Instrument(uint8_t type = 2, bool waves = false) {
    sim::Settings settings;
    settings.systemType = type;  // JQ by default: the cells are checked
    settings.frequencyCode = 0;  // 3 MHz
    settings.waveOption = waves;
    return settings;
}

class SetupServiceTest : public testing::Test, public SetupRig {
  protected:
    SetupServiceTest() : SetupRig(Instrument()) {}
};

TEST(SetupServiceUnits, PagesLeftUntouchedSendNothingVisitAfterVisit) {
    for (const UnitSystem units : {UnitSystem::kMetric, UnitSystem::kEnglish}) {
        SetupRig t(Instrument(2, true), units);
        t.Open();
        const auto before = t.Sheet().Record().Bytes();
        for (int visit = 0; visit < 3; ++visit) {
            EXPECT_EQ(t.Turn(SetupPage::kDeploy, {SetupPage::kAdvanced}).outcome,
                      SetupOutcome::kDone);
            EXPECT_EQ(t.Turn(SetupPage::kAdvanced, {SetupPage::kDeploy}).outcome,
                      SetupOutcome::kDone);
        }
        EXPECT_EQ(t.Sent(), (Lines{"enablewaves"}));
        EXPECT_EQ(t.Sheet().Record().Bytes(), before);
        EXPECT_FALSE(t.Sheet().Modified());
    }
}

// A VW instrument with waves and compass: every control of both pages can change.
TEST(SetupServiceEveryControl, ChangedValuesGoOutInEachPagesOrderThenSaveSetup) {
    SetupRig t(Instrument(1, true));
    t.Open();
    using Typed = std::pair<SetupControl, const char*>;
    for (const auto& [control, value] :
         {Typed{kFileName, "RIVER1"}, Typed{kStartTime, "08:05:09"},
          Typed{kStartDate, "2026/05/17"}, Typed{kCellEnd, "4.50"}, Typed{kCellBegin, "0.29"},
          Typed{kAveragingInterval, "120"}, Typed{kSamplingInterval, "600"}}) {
        t.Set(control, value);
    }
    EXPECT_EQ(t.Turn(SetupPage::kDeploy, {SetupPage::kAdvanced}).outcome, SetupOutcome::kDone);
    EXPECT_EQ(t.Sent(), (Lines{"SI 600", "AI 120", "CB 0.29", "CE 4.50", "SD 2026/05/17",
                               "ST 08:05:09", "Deployment RIVER1", "SaveSetup", "enablewaves"}));
    EXPECT_EQ(t.Held().SamplingInterval(), 600);
    EXPECT_EQ(t.Sheet().Record().User().DeploymentName(), "RIVER1");
    // The page shows again what the instrument holds, to the centimetre.
    EXPECT_EQ(t.Sheet().Record().User().CellBegin(), t.Held().CellBegin());

    for (const auto& [control, value] :
         {Typed{kTempMode, "USER"}, Typed{kSalinity, "30"}, Typed{kTemperature, "15.05"},
          Typed{kWaveSpectra, "YES"}, Typed{kWaterDepth, "12.5"}, Typed{kDataFormat, "SHORT"},
          Typed{kDynBoundAdj, "YES"}, Typed{kCoordSystem, "XYZ"}}) {
        ASSERT_TRUE(t.Sheet().Editable(control));
        t.Set(control, value);
    }
    EXPECT_EQ(t.Turn(SetupPage::kAdvanced).outcome, SetupOutcome::kDone);
    EXPECT_EQ(t.Sent(),
              (Lines{"CoordSystem XYZ", "DataFormat SHORT", "DynBoundAdj YES", "WaveSpectra YES",
                     "WD 12.50", "TempMode USER", "Temp 15.05", "Sal 30.00", "SaveSetup"}));
    EXPECT_EQ(t.Sheet().Record().User().Temperature(), 150);
    EXPECT_EQ(t.Sheet().Record().User().Salinity(), 300);
    EXPECT_EQ(t.Sheet().Value(kSoundSpeed), "1501.01");
}

TEST_F(SetupServiceTest, ARefusedSettingStopsTheLaterStepsAndTheNextGoodLeaveSaves) {
    Open();
    sim.instrument.GetFaults().refusedSettings = {"CB"};
    Set(kSamplingInterval, "60");
    Set(kCellBegin, "1.00");
    Set(kFileName, "RIVER1");
    const SetupResult refused = Turn(SetupPage::kDeploy, {SetupPage::kAdvanced});
    ASSERT_EQ(refused.outcome, SetupOutcome::kRefused);
    EXPECT_EQ(refused.page, SetupPage::kDeploy);
    EXPECT_EQ(refused.refusal->source, Refusal::Source::kInstrument);
    EXPECT_EQ(refused.refusal->control, kCellBegin);
    EXPECT_EQ(refused.refusal->command, "CB 1.00");
    EXPECT_NE(refused.refusal->message.find("ERROR: invalid value"), std::string::npos);
    EXPECT_EQ(Sent(), (Lines{"SI 60", "CB 1.00"}));
    EXPECT_TRUE(Sheet().Modified());
    EXPECT_EQ(Sheet().Record().User().CellBegin(), 50);

    sim.instrument.GetFaults().refusedSettings.clear();
    EXPECT_EQ(Turn(SetupPage::kDeploy).outcome, SetupOutcome::kDone);
    EXPECT_EQ(Sent(), (Lines{"CB 1.00", "Deployment RIVER1", "SaveSetup"}));

    // A rule of the page refuses before anything is sent.
    Set(kCellBegin, "0.19");
    const SetupResult ruled = Turn(SetupPage::kDeploy);
    ASSERT_EQ(ruled.outcome, SetupOutcome::kRefused);
    EXPECT_EQ(ruled.refusal->message, "Cell Begin must be between  0.20 to  5.80 m.");
    EXPECT_EQ(Sent(), Lines{});
}

TEST_F(SetupServiceTest, ASilentInstrumentRefusesWithUnknownErrorAndKeepsTheRecord) {
    Open();
    sim.instrument.GetFaults().silent = true;
    Set(kSamplingInterval, "60");
    const SetupResult result = Turn(SetupPage::kDeploy);
    ASSERT_EQ(result.outcome, SetupOutcome::kRefused);
    EXPECT_EQ(result.refusal->message, "Unknown Error ");
    EXPECT_FALSE(Sheet().Modified());
    EXPECT_EQ(Sheet().Record().User().SamplingInterval(), 900);
}

TEST(SetupServiceWaves, CountOnlyWhenYesComesWithinASecond) {
    struct Case {
        uint32_t replyDelayMs;
        bool silent;
        bool available;
    };
    for (const Case& c : {Case{600, false, true}, Case{1300, false, false}, Case{0, true, false}}) {
        SetupRig t(Instrument(2, true));
        t.Open();
        t.sim.instrument.GetFaults().extraDelayMs = c.replyDelayMs;
        t.sim.instrument.GetFaults().silent = c.silent;
        t.Turn(std::nullopt, {SetupPage::kAdvanced});
        EXPECT_EQ(t.Sheet().WavesAvailable(), c.available) << c.replyDelayMs;
        EXPECT_EQ(t.Sheet().Editable(kWaveSpectra), c.available);
    }
}

TEST_F(SetupServiceTest, StandardDeploymentAppliesEveryPageThenStartsAndTheInstrumentGoesQuiet) {
    Open();
    Set(kSamplingInterval, "600");
    const SetupResult result = Deploy();
    ASSERT_EQ(result.outcome, SetupOutcome::kDone);
    const Lines sent = Sent();
    EXPECT_EQ(Lines(sent.end() - 6, sent.end()),
              (Lines{"systemtype", "SI 600", "enablewaves", "SaveSetup", "OF ASCII", "deploy"}));
    // Every page in turn, then back where Deploy was pressed.
    EXPECT_EQ(heard.shown, (std::vector<SetupPage>{SetupPage::kAdvanced, SetupPage::kHardware,
                                                   SetupPage::kOptions, SetupPage::kDeploy}));
    EXPECT_EQ(result.deploy.model, kMirovan);
    EXPECT_EQ(result.deploy.mode, DeploymentMode::kStandard);
    ASSERT_EQ(result.sent.size(), 5u);
    EXPECT_EQ(result.sent.front().command, "SI 600");
    EXPECT_TRUE(result.sent.back().accepted);
    // Deployed: the instrument hears nothing until it is woken.
    std::vector<char> reply(100);
    EXPECT_FALSE(sim.session.Instrument().ExecCommand("SI", reply, false, 0) &&
                 sim.session.Instrument().WaitFor(reply, ">", 1000, false));
}

TEST_F(SetupServiceTest, Sdi12DeploymentWritesWhatTheDialogChangedInOrderThenSample) {
    Open();
    Set(kMode, "SDI-12");
    heard.sdi12Dialog = [this](const std::optional<Refusal>&) {
        Set(kSdi12Units, "Metric");
        Set(kSdi12Format, "Tandrel");
        Set(kSdi12Address, "3");
        return true;
    };
    const SetupResult result = Deploy();
    ASSERT_EQ(result.outcome, SetupOutcome::kDone);
    const Lines sent = Sent();
    EXPECT_EQ(Lines(sent.end() - 4, sent.end()),
              (Lines{"Sdi12Address 3", "sdi12format Tandrel", "of Metric", "sample"}));
    EXPECT_EQ(result.deploy.mode, DeploymentMode::kSdi12);
    EXPECT_EQ(result.deploy.sdi12->address, "3");
    EXPECT_EQ(Sheet().Record().Oper().Sdi12Format(), 1);
}

TEST_F(SetupServiceTest, ARefusedSdi12SettingBringsTheDialogBackOnItsControl) {
    Open();
    Set(kMode, "SDI-12");
    sim.instrument.GetFaults().refusedSettings = {"sdi12format"};
    heard.sdi12Dialog = [this](const std::optional<Refusal>& refused) {
        // Asked over the page Deploy was pressed on.
        EXPECT_EQ(Sheet().ActivePage(), SetupPage::kDeploy);
        Set(kSdi12Format, "Tandrel");
        return !refused;
    };
    EXPECT_EQ(Deploy().outcome, SetupOutcome::kSdi12Cancelled);
    ASSERT_EQ(heard.dialogRefusals.size(), 2u);
    EXPECT_EQ(heard.dialogRefusals[1]->control, kSdi12Format);
    EXPECT_EQ(heard.shown.back(), SetupPage::kDeploy);
    // The mode picked stays picked, after the failed deployment and page after page.
    EXPECT_EQ(Sheet().Value(kMode), "SDI-12");
    Turn(SetupPage::kDeploy, {SetupPage::kAdvanced});
    Turn(SetupPage::kAdvanced, {SetupPage::kDeploy});
    EXPECT_EQ(Sheet().Value(kMode), "SDI-12");
}

TEST(SetupServiceDeploy, DeploymentsThatStopSayWhyAndSendNeitherDeployNorSample) {
    struct Case {
        const char* name;
        std::function<void(SetupRig&)> arrange;
        SetupOutcome outcome;
        const char* lastSent;
        bool startDateSet = true;
    };
    const std::vector<Case> cases = {
        {"silent instrument", [](auto& t) { t.sim.instrument.GetFaults().silent = true; },
         SetupOutcome::kNotConnected, nullptr},
        {"page rule", [](auto& t) { t.Set(kFileName, " "); }, SetupOutcome::kRefused, "systemtype"},
        {"start passed", [](auto& t) { t.Set(kStartDate, "2020/01/01"); }, SetupOutcome::kRefused,
         "systemtype"},
        {"start never set", [](auto&) {}, SetupOutcome::kRefused, "systemtype", false},
        {"instrument refuses",
         [](auto& t) {
             t.sim.instrument.GetFaults().refusedSettings = {"AI"};
             t.Set(kAveragingInterval, "60");
         },
         SetupOutcome::kRefused, "AI 60"},
        {"SDI-12 dialog cancelled",
         [](auto& t) {
             t.Set(kMode, "SDI-12");
             t.heard.sdi12Dialog = [](const auto&) { return false; };
         },
         SetupOutcome::kSdi12Cancelled, "enablewaves"},
        {"no such mode", [](auto& t) { t.Set(kMode, "Polled"); }, SetupOutcome::kUnsupportedMode,
         "enablewaves"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Settings settings = Instrument();
        settings.startDateSet = c.startDateSet;
        SetupRig t(settings);
        t.Open();
        c.arrange(t);
        EXPECT_EQ(t.Deploy().outcome, c.outcome);
        const Lines sent = t.Sent();
        if (c.lastSent) {
            ASSERT_FALSE(sent.empty());
            EXPECT_EQ(sent.back(), c.lastSent);
        }
        EXPECT_EQ(std::count(sent.begin(), sent.end(), "deploy"), 0);
        EXPECT_EQ(std::count(sent.begin(), sent.end(), "sample"), 0);
    }
}

TEST(SetupServiceDeploy, ANearlyFullRecorderIsRefusedAfterTheSettingsWereWrittenBack) {
    sim::Settings settings = Instrument();
    settings.recorderCapacity = (4u << 20) + 30000;
    settings.recorderUsed = 4u << 20;
    SetupRig t(settings);
    t.Open();
    t.Set(kSamplingInterval, "60");
    EXPECT_EQ(t.Deploy().outcome, SetupOutcome::kRecorderFull);
    EXPECT_EQ(t.Held().SamplingInterval(), 60);
    EXPECT_EQ(t.heard.shown.back(), SetupPage::kDeploy);
    EXPECT_EQ(t.Sheet().ActivePage(), SetupPage::kDeploy);
}

TEST_F(SetupServiceTest, DaysFollowTheIntervalsTypedWithoutAskingTheRecorderAgain) {
    Open();
    const std::string shown = Sheet().DaysRemaining();
    Set(kSamplingInterval, "6O");
    EXPECT_EQ(Sheet().DaysRemaining(), "Days remaining unknown: check the intervals");
    Set(kSamplingInterval, "900");
    EXPECT_EQ(Sheet().DaysRemaining(), shown);
    EXPECT_EQ(Sent(), Lines{});
}

TEST_F(SetupServiceTest, ABlockThatDoesNotArriveIsNamedAndNoSheetIsMade) {
    sim.instrument.GetFaults().wrongBlockChecksum = true;
    const SetupResult result = RunJob([](SetupService& s) { return s.Read(); });
    EXPECT_EQ(result.outcome, SetupOutcome::kUnreadable);
    EXPECT_EQ(result.unreadBlock, "get Conf");
    EXPECT_FALSE(service.HasSheet());
}

TEST_F(SetupServiceTest, OneJobAtATime) {
    Open();
    ASSERT_TRUE(service.Deploy());
    EXPECT_FALSE(service.Turn(SetupPage::kDeploy, {}));
    sim.PumpUntil([this] { return heard.ended.has_value(); });
}

// Stopped while waking, applying, writing or starting: the job ends within a few polls, the line
// is let go, and the instrument answers the next command.
class StoppedDeployment : public SetupServiceTest, public testing::WithParamInterface<uint32_t> {};

TEST_P(StoppedDeployment, EndsPromptlyAndLeavesTheInstrumentAnswering) {
    Open();
    Set(kSamplingInterval, "600");
    Set(kMode, "SDI-12");
    heard.sdi12Dialog = [](const auto&) { return true; };
    heard.ended.reset();
    ASSERT_TRUE(service.Deploy());
    sim.PumpUntil([] { return false; }, GetParam());
    const uint32_t stopping = sim.clock.TickCount();
    service.Stop();
    ASSERT_TRUE(sim.PumpUntil([this] { return heard.ended.has_value(); }, 3000));
    EXPECT_LT(sim.clock.TickCount() - stopping, 1500u);
    EXPECT_FALSE(sim.link.Waits().IsLeased());
    if (heard.ended->outcome != SetupOutcome::kDone) {
        EXPECT_EQ(heard.ended->outcome, SetupOutcome::kStopped);
        EXPECT_TRUE(sim.session.Instrument().SendCommand("Ver"));
    }
}

INSTANTIATE_TEST_SUITE_P(Moments, StoppedDeployment,
                         testing::Values(0u, 20u, 150u, 400u, 900u, 1600u, 2500u, 4000u));

}  // namespace
}  // namespace brennix::test
