#include <gtest/gtest.h>

#include <array>
#include <string>

#include "instrument/instrument.h"
#include "support/scripted_ui_host.h"
#include "support/sim_line.h"

namespace brennix::test {
namespace {

// The instrument object (the meter) against the simulator, on virtual time.
struct SimInstrument : SimLine {
    explicit SimInstrument(const sim::Settings& settings = {}) : SimLine(settings) {
        meter.SetLink(&link);
    }
    const std::string& Received() const { return instrument.Received(); }

    ScriptedUiHost ui{clock};
    CInstrument meter{clock, ui};
};

sim::Settings Asleep(sim::Model model = sim::Model::kMirovan) {
    sim::Settings settings;
    settings.model = model;
    settings.asleep = true;
    return settings;
}

TEST(SimulatedInstrumentTest, AwakeInstrumentNeedsNoBreak) {
    SimInstrument line;
    EXPECT_EQ(line.meter.FindInstrument(false, false), kKTX);
    EXPECT_EQ(line.Received(), " \r\n");
    EXPECT_TRUE(line.device.BreakTicks().empty());
    EXPECT_LT(line.clock.TickCount(), 1500u);
}

TEST(SimulatedInstrumentTest, SleepingInstrumentWakesAtTheBreak) {
    SimInstrument line(Asleep());
    EXPECT_EQ(line.meter.FindInstrument(true, false), kMirovan);
    EXPECT_TRUE(line.Received().starts_with(" \r\n  \r\n  \r\n\r\rVer\r"));
    EXPECT_EQ(line.device.BreakTicks().size(), 1u);
    EXPECT_NE(line.terminal.Text().find("Serial number"), std::string::npos);
}

TEST(SimulatedInstrumentTest, SilentInstrumentCostsTheWholeSequence) {
    SimInstrument line;
    line.instrument.GetFaults().silent = true;
    EXPECT_EQ(line.meter.FindInstrument(false, false), kKTX);
    EXPECT_GE(line.clock.TickCount(), 7900u);
    EXPECT_LE(line.clock.TickCount(), 8000u);
    EXPECT_EQ(line.meter.FindInstrument(true, false), kFailToWakeUpInstrument4);
    ASSERT_EQ(line.ui.messages.size(), 1u);
    EXPECT_EQ(line.ui.messages[0].text, "FAIL TO LOCATE PROMPT");
}

TEST(SimulatedInstrumentTest, SlowCompassIsWaitedForUpToFifteenSeconds) {
    sim::Settings settings = Asleep();
    settings.reportsCompass = true;
    settings.compassDelayMs = 10000;
    SimInstrument patient(settings);
    EXPECT_EQ(patient.meter.FindInstrument(false, false), kKTX);

    settings.compassDelayMs = 30000;
    SimInstrument late(settings);
    EXPECT_EQ(late.meter.FindInstrument(false, false), kFailToWakeUpInstrument3);
    EXPECT_GE(late.clock.TickCount(), 15000u);
}

class SimModelTest : public ::testing::TestWithParam<std::pair<sim::Model, int>> {};

TEST_P(SimModelTest, BannerNamesTheModel) {
    sim::Settings settings = Asleep(GetParam().first);
    SimInstrument line(settings);
    EXPECT_EQ(line.meter.FindInstrument(true, false), GetParam().second);

    settings.bannerLeadByte = true;
    SimInstrument withLeadByte(settings);
    EXPECT_EQ(withLeadByte.meter.FindInstrument(true, false), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Models, SimModelTest,
                         ::testing::Values(std::pair(sim::Model::kKtx, kKTX),
                                           std::pair(sim::Model::kLmr, kLMR),
                                           std::pair(sim::Model::kMirovan, kMirovan),
                                           std::pair(sim::Model::kFendrel, kFendrel),
                                           std::pair(sim::Model::kMirovanAdv, kMirovanAdv),
                                           std::pair(sim::Model::kCorvex, kCorvex),
                                           std::pair(sim::Model::kPelorin, kPelorin)));

TEST(SimulatedInstrumentTest, Sdi12InstrumentIsSwitchedBackOnYes) {
    sim::Settings settings = Asleep();
    settings.sdi12Mode = true;
    SimInstrument line(settings);
    EXPECT_EQ(line.meter.FindInstrument(true, true), kMirovan);
    ASSERT_EQ(line.ui.messages.size(), 1u);
    EXPECT_EQ(line.ui.messages[0].caption, "SDI-12 Mode Detected");
    EXPECT_NE(line.Received().find("?EXIT!! \r\n"), std::string::npos);
    EXPECT_FALSE(line.meter.IsSdi12Mode());
}

TEST(SimulatedInstrumentTest, Sdi12InstrumentStaysOnNo) {
    sim::Settings settings = Asleep();
    settings.sdi12Mode = true;
    SimInstrument line(settings);
    line.ui.messageAnswers.push_back(MessageResult::kNo);
    EXPECT_EQ(line.meter.FindInstrument(true, true), kSystemIsInSDI12Mode);
    EXPECT_EQ(line.Received().find("?EXIT"), std::string::npos);
    EXPECT_TRUE(line.meter.IsSdi12Mode());
}

TEST(SimulatedInstrumentTest, GarbledEchoIsRepaired) {
    SimInstrument line;
    line.instrument.GetFaults().garbleEchoes = 1;
    EXPECT_TRUE(line.meter.SendCommand("SaveSetup"));
    EXPECT_TRUE(line.Received().ends_with("\r\rSaveSetup\rSaveSetup"));
}

TEST(SimulatedInstrumentTest, SettingsAnswerOk) {
    SimInstrument line;
    std::array<char, 256> reply{};
    EXPECT_TRUE(line.meter.ExecCommand("SaveSetup", reply, true, 3000));
    EXPECT_FALSE(line.meter.ExecCommand("NoSuchCommand", reply, true, 3000));
    EXPECT_TRUE(line.meter.CommandOk("Compass init", 4000));
}

TEST(SimulatedInstrumentTest, ConfigurationBlocksAreReadAndChecked) {
    SimInstrument line;
    std::array<uint8_t, 96> conf{};
    std::array<uint8_t, 258> user{};
    std::array<uint8_t, 64> oper{};
    EXPECT_TRUE(line.meter.ReadBlock("get Conf", conf, 15000));
    EXPECT_TRUE(line.meter.ReadBlock("get User", user, 15000));
    EXPECT_TRUE(line.meter.ReadBlock("get Oper", oper, 15000));
    // A buffer of another size never takes the frame.
    EXPECT_FALSE(line.meter.ReadBlock("get User", conf, 15000));

    sim::Faults& faults = line.instrument.GetFaults();
    for (bool* fault : {&faults.wrongBlockLength, &faults.wrongBlockChecksum, &faults.shortBlock}) {
        *fault = true;
        EXPECT_FALSE(line.meter.ReadBlock("get Conf", conf, 15000));
        *fault = false;
    }
}

TEST(SimulatedInstrumentTest, Rs485InstrumentAnswersOnlyItsAddress) {
    sim::Settings settings = Asleep();
    settings.rs485Address = 7;
    SimInstrument line(settings);
    line.meter.SetRs485Address(7);
    EXPECT_EQ(line.meter.FindInstrument(true, false), kMirovan);
    EXPECT_TRUE(line.Received().starts_with("\xF0\xF0\xF0\xF7 \r\n"));

    SimInstrument other(settings);
    other.meter.SetRs485Address(3);
    EXPECT_EQ(other.meter.FindInstrument(true, false), kFailToWakeUpInstrument4);
}

}  // namespace
}  // namespace brennix::test
