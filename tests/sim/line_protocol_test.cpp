#include <gtest/gtest.h>

#include "sim/sim_harness.h"

namespace brennix::sim::test {
namespace {

TEST(LineProtocol, EchoesEachCharacterAndAnswersOnCarriageReturn) {
    SimHarness sim;
    EXPECT_EQ(sim.Exchange("sav"), "sav");
    EXPECT_EQ(sim.Exchange("eSetup\r"), "eSetup\rOK\r\n>");
}

TEST(LineProtocol, BlankLinesGiveAPromptAndLineFeedsAreIgnored) {
    SimHarness sim;
    EXPECT_EQ(sim.Exchange(" \r\n"), " \r>");
    EXPECT_EQ(sim.Exchange("\r\r\n"), "\r>\r>");
}

TEST(LineProtocol, BackspaceTakesBackACharacter) {
    SimHarness sim;
    EXPECT_EQ(sim.Exchange("Verx\b\r"),
              "Verx\b\rOstrel Mirovan MRV Version 3.8\r\n"
              "Serial number M1234\r\n>");
}

TEST(LineProtocol, UnknownCommandGetsAnErrorWithoutOkAndThePrompt) {
    SimHarness sim;
    const std::string reply = sim.Exchange("OKAY\r");
    EXPECT_EQ(reply, "OKAY\rERROR: unknown command\r\n>");
}

TEST(LineProtocol, OverlongLineIsCutAtTheLimit) {
    SimHarness sim;
    const std::string reply = sim.Exchange(std::string(600, 'x') + "\r");
    EXPECT_EQ(reply.find('\r'), 510u);
    EXPECT_TRUE(reply.ends_with("ERROR: unknown command\r\n>"));
}

TEST(LineProtocol, ReceivedKeepsEveryByteTheHostWrote) {
    SimHarness sim({.asleep = true});
    sim.Send("ai 600\r");
    sim.Break();
    sim.Send("\xF0\r\n");
    EXPECT_EQ(sim.instrument.Received(), "ai 600\r\xF0\r\n");
    sim.instrument.ClearReceived();
    EXPECT_EQ(sim.instrument.Received(), "");
}

struct SettingCase {
    const char* set;
    const char* show;
    const char* expected;  // what the bare command reports afterwards
};

class SettingCommands : public ::testing::TestWithParam<SettingCase> {};

TEST_P(SettingCommands, AcceptWithOkAndReportTheNewValue) {
    SimHarness sim;
    const std::string set = std::string(GetParam().set) + "\r";
    EXPECT_EQ(sim.Exchange(set), set + "OK\r\n>");
    const std::string show = std::string(GetParam().show) + "\r";
    EXPECT_EQ(sim.Exchange(show), show + GetParam().expected + "\r\n>");
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingCommands,
    ::testing::Values(SettingCase{"ai 600", "AI", "AI 600"}, SettingCase{"SI 60", "si", "SI 60"},
                      SettingCase{"CB 0.50", "cb", "CB 0.50"},
                      SettingCase{"cb 1.0", "CellBegin", "CB 1.00"},
                      SettingCase{"Temp 12.5", "temp", "Temp 12.5"},
                      SettingCase{"cy xyz", "CoordSystem", "CoordSystem XYZ"},
                      SettingCase{"tm 0", "TempMode", "TempMode USER"},
                      SettingCase{"Deployment RIVER1", "deployment", "Deployment RIVER1"},
                      SettingCase{"SD 2026/05/17", "StartDate", "SD 2026/05/17"},
                      SettingCase{"ST 08:30:00", "st", "ST 08:30:00"},
                      SettingCase{"sdi12format Tandrel", "sdi12format", "sdi12format Tandrel"},
                      SettingCase{"of Metric", "of", "of METRIC"},
                      SettingCase{"AutoSleep OFF", "autosleep", "AutoSleep OFF"},
                      SettingCase{"Comments two words", "Comments", "Comments two words"}));

class RefusedSettings : public ::testing::TestWithParam<const char*> {};

TEST_P(RefusedSettings, AreAnsweredWithAnErrorAndChangeNothing) {
    SimHarness sim;
    const std::string before = sim.Exchange("Show Setup\r");
    const std::string line = std::string(GetParam()) + "\r";
    EXPECT_EQ(sim.Exchange(line), line + "ERROR: invalid value\r\n>");
    EXPECT_EQ(sim.Exchange("Show Setup\r"), before);
}

INSTANTIATE_TEST_SUITE_P(Values, RefusedSettings,
                         ::testing::Values("ai ten", "ai 1e30", "cb 400", "nc 300", "cy polar",
                                           "SD 2026/13/01", "ST 25:00:00", "Deployment NINECHARS",
                                           "Temp 12,5"));

TEST(LineProtocol, SettingsLandInTheConfigurationBlock) {
    SimHarness sim;
    sim.Exchange("ai 600\rcb 0.29\rDeployment HARBOUR\r");
    const std::string frame = sim.Exchange("get User\r");
    const std::string block = frame.substr(std::string("get User\rOK\r\n").size() + 2, 258);
    EXPECT_EQ(static_cast<uint8_t>(block[25]) | static_cast<uint8_t>(block[26]) << 8, 600);
    EXPECT_EQ(static_cast<uint8_t>(block[248]), 29);  // centimetres, truncated
    EXPECT_EQ(std::string(block.c_str() + 49), "HARBOUR");
}

TEST(LineProtocol, DefaultsRestoresTheUserSettings) {
    SimHarness sim;
    sim.Exchange("ai 600\r");
    EXPECT_EQ(sim.Exchange("Defaults\r"), "Defaults\rOK\r\n>");
    EXPECT_EQ(sim.Exchange("ai\r"), "ai\rAI 300\r\n>");
}

TEST(LineProtocol, HelpAndShowPrintLinesThenThePrompt) {
    SimHarness sim;
    for (const char* command : {"Help System", "Help Setup", "Help", "Show Conf", "Show Deploy",
                                "Show Setup", "Show System"}) {
        const std::string reply = sim.Exchange(std::string(command) + "\r");
        EXPECT_TRUE(reply.ends_with("\r\n>")) << command;
        EXPECT_FALSE(Contains(reply, "ERROR")) << command;
    }
    EXPECT_TRUE(Contains(sim.Exchange("Show Conf\r"), "Serial number: M1234"));
    EXPECT_TRUE(Contains(sim.Exchange("Help Nothing\r"), "ERROR"));
}

}  // namespace
}  // namespace brennix::sim::test
