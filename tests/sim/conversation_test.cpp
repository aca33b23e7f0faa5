#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/sim_harness.h"

namespace brennix::sim::test {
namespace {

constexpr const char* kBreak = "<BREAK>";  // stands for a 300 ms BREAK in a step
constexpr const char* kWakeText = "\r\nOstrel Mirovan\r\nCommand mode\r\n>";
constexpr const char* kSdi12Notice = "System is in SDI-12 Mode\r\n";
constexpr const char* kLeave = "\r\nCommand mode\r\n>";
const std::string kSelect3 = "\xF0\xF0\xF0\xF3";
const std::string kSelect5 = "\xF0\xF0\xF0\xF5";

// The host sends, lets ms pass, and expects exactly this reply.
struct Step {
    std::string send;
    std::string reply;
    uint32_t ms = 0;
};

struct Conversation {
    const char* name;
    Settings settings;
    std::vector<Step> steps;
    uint32_t startTick = 1000;
};

class ConversationTest : public testing::TestWithParam<Conversation> {};

TEST_P(ConversationTest, RepliesExactly) {
    const Conversation& c = GetParam();
    SimHarness sim(Unpaced(c.settings), c.startTick);
    for (size_t i = 0; i < c.steps.size(); ++i) {
        if (c.steps[i].send == kBreak) {
            sim.Break();
        } else {
            sim.Send(c.steps[i].send);
        }
        EXPECT_EQ(sim.Collect(c.steps[i].ms), c.steps[i].reply) << "step " << i;
    }
}

std::string Banner(const std::string& name, const std::string& version, const char* serial) {
    return "Ver\rOstrel " + name + " Version " + version + "\r\nSerial number " + serial + "\r\n>";
}

const Conversation kConversations[] = {
    // Waking and going to sleep.
    Conversation{
        "AsleepIgnoresCommandsAndBlankLinesUntilABreak",
        {.asleep = true},
        {{"Ver\r", "", 1000}, {" \r\n", "", 1000}, {kBreak, kWakeText}, {" \r\n", " \r>"}}},
    Conversation{"TheTwoLinesBeforeABreakWakeIt",
                 {.asleep = true},
                 {{" \r\n  \r\n", ""}, {"  \r\n", kWakeText}}},
    Conversation{
        "BreakRightAfterTheLinesDoesNotWakeItAgain",
        {.asleep = true},
        {{"  \r\n  \r\n", kWakeText, 100}, {kBreak, ""}, {"", "", 5000}, {kBreak, kWakeText}}},
    Conversation{"TenPlusSignsWakeIt", {.asleep = true}, {{"+++++++++", ""}, {"+", kWakeText}}},
    Conversation{"WakeSignalsWhenAwakeDiscardTheLineAndDeployStopsAnswering",
                 {},
                 {{"ai++++++++++", "ai++++++++++\r\n>"},
                  {"ai 6", "ai 6"},
                  {kBreak, kWakeText},
                  {"\r", "\r>"},
                  {"deploy\r", "deploy\rOK\r\n>"},
                  {" \r\n", "", 2000},
                  {kBreak, kWakeText}}},
    Conversation{"CompassPromptComesAfterTheDelayAcrossTheTickWrap",
                 {.asleep = true, .reportsCompass = true, .compassDelayMs = 5000},
                 {{kBreak, "\r\nOstrel Mirovan\r\nCommand mode\r\nCompass initialising\r\n", 10},
                  {"", "", 4980},
                  {"", ">", 20}},
                 0xFFFFFF00u},
    Conversation{"IdleTimeOutSendsItToSleep",
                 {.idleSleepMs = 60000},
                 {{" \r", " \r>", 59000}, {" \r", " \r>", 60001}, {" \r", ""}}},
    // Lines and their replies.
    Conversation{
        "EchoesAndAnswersOnCarriageReturnIgnoringLineFeeds",
        {},
        {{"sav", "sav"},
         {"eSetup\r", "eSetup\rOK\r\n>"},
         {" \r\n", " \r>"},
         {"\r\r\n", "\r>\r>"},
         {"OKAY\r", "OKAY\rERROR: unknown command\r\n>"},
         {"Help Nothing\r", "Help Nothing\rERROR: no help on that topic\r\n>"},
         {"get Nothing\r", "get Nothing\rERROR: no such block\r\n>"},
         {"Verx\b\r", "Verx\b" + Banner("Mirovan MRV", "3.8", "M1234").substr(3)},
         {std::string(600, 'x') + "\r", std::string(510, 'x') + "\rERROR: unknown command\r\n>"},
         {"ai 600\r", "ai 600\rOK\r\n>"},
         {"Defaults\r", "Defaults\rOK\r\n>"},
         {"ai\r", "ai\rAI 300\r\n>"}}},
    Conversation{"BannerLeadByte",
                 {.bannerLeadByte = true},
                 {{"Ver\r", "Ver\r\xE8" + Banner("Mirovan MRV", "3.8", "M1234").substr(4)}}},
    // SDI-12 and RS-485.
    Conversation{"Sdi12AnswersWakeTrafficWithTheNoticeAndCommandsWithoutEcho",
                 {.sdi12Mode = true},
                 {{" \r\n", kSdi12Notice},
                  {kBreak, kSdi12Notice},
                  {"++++++++++", kSdi12Notice},
                  {"?!", "0\r\n"},
                  {"0I!", "013OSTREL  MRV   100\r\n"},
                  {"?EXIT!?!", "0\r\n"},
                  {" \r\n", kSdi12Notice},
                  {"Ver\r", ""}}},
    Conversation{"Sdi12OnFromTheCommandLineAndExitPlusTerminator",
                 {},
                 {{"sdi12\r", "sdi12\rSDI12 OFF\r\n>"},
                  {"SDI12 ON\r", "SDI12 ON\rOK\r\n"},
                  {" \r\n", kSdi12Notice},
                  {"?EXIT!", ""},
                  {"!", kLeave},
                  {" \r\n", " \r>"}}},
    Conversation{"Rs485IgnoresTrafficUntilSelected",
                 {.rs485Address = 3},
                 {{" \r\n", ""},
                  {kBreak, ""},
                  {"\xF0\xF0\xF3\r", ""},
                  {kSelect3 + " \r\n", " \r>"},
                  {kSelect5 + "Ver\r", ""},
                  {kSelect3 + "\r", "\r>"}}},
    Conversation{"Rs232TakesSelectionBytesAsData", {}, {{kSelect3, kSelect3}}},
};

INSTANTIATE_TEST_SUITE_P(Sim, ConversationTest, testing::ValuesIn(kConversations),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace brennix::sim::test
