#include <gtest/gtest.h>

#include <limits>

#include "support/scripted_instrument_line.h"
#include "support/sim_session.h"

namespace brennix::test {
namespace {

// What a wake-up sends up to the BREAK, and on to the end of the plus signs.
const std::string kToBreak = " \r\n  \r\n  \r\n<BREAK>";
const std::string kToPlusSigns = kToBreak + "++++++++++\r\r\n";
const std::string kSelect5 = "\xF0\xF0\xF0\xF5";

struct WakeCase {
    const char* name;
    bool asleep = true;
    std::string wakeWord{};
    std::string breakReply{};
    std::string saidFirst{};               // what the instrument sends 10 ms in, before any BREAK
    std::string blankLineReply = "\r\n>";  // heard only when awake
    uint32_t address = 0;
    bool identify = false;
    int expected = kKTX;
    std::string wire{};
    uint32_t minMs = 0;
    uint32_t maxMs = std::numeric_limits<uint32_t>::max();
    std::string message{};  // the one box shown, if any
    int failingPurge = 0;
    bool breakFails = false;
    bool writesRefused = false;
};

// A silent wake-up costs 1501 for the first prompt, the BREAK and the pause (900), the plus signs'
// pause (500), their prompt (3001) and the final pause (2000). A compass report says the
// instrument is awake but busy: no plus signs then.
// A refused RS-485 selection byte is retried for its 100 ms, and only the first one is tried.
// clang-format off
const WakeCase kWakeCases[] = {
    {.name = "AwakeAnswersTheFirstBlankLine", .asleep = false, .wire = " \r\n", .maxMs = 10},
    {.name = "SilentCostsEveryStepAndStillCountsAsAwake", .wire = kToPlusSigns, .minMs = 7902, .maxMs = 7902},
    {.name = "SilentFailsIdentificationAtThePromptSearch", .identify = true,
     .expected = kFailToWakeUpInstrument4, .wire = kToPlusSigns + "\r\r", .message = "FAIL TO LOCATE PROMPT"},
    {.name = "BreakWakes", .breakReply = "\r\nMirovan ready\r\n>", .wire = kToBreak, .minMs = 4400, .maxMs = 4420},
    {.name = "PlusSignsWake", .wakeWord = "++++++++++", .wire = kToPlusSigns, .maxMs = 4920},
    {.name = "CompassWithoutPromptFailsAfterFifteenSeconds", .breakReply = "Compass calibrating\r\n",
     .expected = kFailToWakeUpInstrument3, .wire = kToBreak, .minMs = 1500 + 400 + 500 + 15000},
    {.name = "LowerCaseCompassAfterThePlusSignsIsWaitedFor", .wakeWord = "++++++++++",
     .blankLineReply = "compass busy\r\n", .expected = kFailToWakeUpInstrument3, .wire = kToPlusSigns,
     .minMs = 1500 + 400 + 500 + 500 + 15000},
    {.name = "Sdi12ReplyIsReportedWithoutAQuestion", .breakReply = "SDI-12 Mode\r\n", .identify = true,
     .expected = kSystemIsInSDI12Mode, .wire = kToBreak},
    // What was said before the BREAK counts even when the BREAK brings a stray byte of its own.
    {.name = "Sdi12HeardBeforeTheBreakIsKept", .breakReply = "\xFF", .saidFirst = "SDI-12 mode active\r\n",
     .expected = kSystemIsInSDI12Mode, .wire = kToBreak},
    {.name = "Rs485AddressIsSelectedBeforeEveryStep", .address = 5,
     .wire = kSelect5 + " \r\n  \r\n  \r\n<BREAK>" + kSelect5 + "++++++++++" + kSelect5 + "\r\r\n"},
    {.name = "Rs485SelectionTakesTheAddressLowByte", .asleep = false, .address = 0x1A3, .wire = "\xF0\xF0\xF0\xF3 \r\n"},
    {.name = "Rs485SelectionStopsAtTheFirstRefusedByte", .address = 1, .expected = kFailToWakeUpInstrument1,
     .maxMs = 1200, .writesRefused = true},
    {.name = "ReceivePurgeFails", .identify = true, .expected = kFailToWakeUpInstrument1, .failingPurge = 1},
    {.name = "TransmitPurgeFails", .identify = true, .expected = kFailToWakeUpInstrument1, .failingPurge = 2},
    {.name = "BreakFails", .identify = true, .expected = kFailToWakeUpInstrument2, .wire = " \r\n",
     .breakFails = true},
    {.name = "WriteRefused", .identify = true, .expected = kFailToWakeUpInstrument1, .writesRefused = true},
};
// clang-format on

class WakeUpTest : public ::testing::TestWithParam<WakeCase>, public ScriptedInstrumentLine {};

TEST_P(WakeUpTest, EndsWithItsCodeWireAndTime) {
    const WakeCase& test = GetParam();
    farEnd.awake = !test.asleep;
    farEnd.wakeWord = test.wakeWord;
    farEnd.breakReply = test.breakReply;
    farEnd.Send(test.saidFirst, 10);
    farEnd.Reply("", test.blankLineReply);
    device.FailPurge(test.failingPurge);
    if (test.breakFails) {
        device.SetCapabilities({true, false, "no BREAK"});
    }
    device.SetWritesRefused(test.writesRefused);
    instrument.SetRs485Address(test.address);
    EXPECT_EQ(instrument.FindInstrument(test.identify, false), test.expected);
    EXPECT_EQ(instrument.IsSdi12Mode(), test.expected == kSystemIsInSDI12Mode);
    EXPECT_EQ(farEnd.Wire(), test.wire);
    EXPECT_GE(Elapsed(), test.minMs);
    EXPECT_LE(Elapsed(), test.maxMs);
    ExpectMessage(test.message);
}

INSTANTIATE_TEST_SUITE_P(Cases, WakeUpTest, ::testing::ValuesIn(kWakeCases),
                         [](const auto& info) { return std::string(info.param.name); });

class IdentificationTest : public ::testing::Test, public ScriptedInstrumentLine {};

struct BannerCase {
    const char* name;
    std::string banner;
    std::string systemType;  // empty: the instrument is not asked
    int expected;
};

// Each pair puts the token that loses first, so a first-found rule would fail.
const BannerCase kBannerCases[] = {
    {"KtxBeforePelorin", "PLR KTX", "", kKTX},
    {"PelorinBeforeMirovan", "MRV PLR", "", kPelorin},
    {"Mirovan", "Mirovan MRV 3.2", "MRV", kMirovan},
    {"MirovanAdvanced", "Mirovan MRV 3.2", "MRV LMR", kMirovanAdv},
    {"MirovanBeforeLmr", "MRV LMR", "MRV", kMirovan},
    {"MirovanBeforeFendrel", "Fndl MRV", "none", kMirovan},
    {"FendrelBeforeCorvex", "Crv Fndl", "", kFendrel},
    {"CorvexBeforeLmr", "LMR Crv", "", kCorvex},
    {"Lmr", "LMR 5", "", kLMR},
    {"LeadByteE8IsDropped", std::string(1, '\xE8') + "Crv 2.0", "", kCorvex},
    {"TokensAreCaseSensitive", "ktx mrv fndl", "", kFailToWakeUpInstrument5},
    {"NoToken", "Welcome", "", kFailToWakeUpInstrument5},
};

class BannerTest : public ::testing::TestWithParam<BannerCase>, public ScriptedInstrumentLine {};

TEST_P(BannerTest, NamesTheModel) {
    const BannerCase& test = GetParam();
    farEnd.Reply("Ver", test.banner + "\r\n>");
    farEnd.Reply("systemtype", test.systemType + "\r\n>");
    EXPECT_EQ(instrument.FindInstrument(true, false), test.expected);
    const std::string asked =
        std::string("\r\rVer\r") + (test.systemType.empty() ? "" : "\r\rsystemtype\r");
    EXPECT_EQ(farEnd.Wire(), " \r\n" + asked);
    EXPECT_TRUE(ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Banners, BannerTest, ::testing::ValuesIn(kBannerCases),
                         [](const auto& info) { return std::string(info.param.name); });

// No link or a closed one fails and sends nothing.
TEST_F(IdentificationTest, RestOfTheAnswerIsTakenInBeforeReturning) {
    farEnd.Reply("Ver", "Fndl 1.4\r\nSerial 1234\r\n>");
    EXPECT_EQ(instrument.FindInstrument(true, false), kFendrel);
    // Only the prompt stays behind for the next command's prompt search.
    EXPECT_EQ(Unread(), ">");

    EXPECT_EQ(CInstrument(clock, ui).FindInstrument(false, false), kFailToWakeUpInstrument5);
    link.Close();
    farEnd.ClearWire();
    EXPECT_EQ(instrument.FindInstrument(false, false), kFailToWakeUpInstrument5);
    EXPECT_EQ(farEnd.Wire(), "");
}

TEST_F(IdentificationTest, SdiTwelveModeChangesHowCommandsAreSent) {
    farEnd.Reply("SDI12 ON", "OK\r\n>");
    ASSERT_TRUE(instrument.SetSdi12Mode(true));
    farEnd.ClearWire();
    EXPECT_TRUE(instrument.SendCommand("0M"));
    EXPECT_TRUE(instrument.SetSdi12Mode(false));
    EXPECT_EQ(farEnd.Wire(), "0M!?EXIT!!");
    EXPECT_FALSE(instrument.IsSdi12Mode());

    farEnd.awake = false;
    EXPECT_FALSE(instrument.SetSdi12Mode(true));
    EXPECT_FALSE(instrument.IsSdi12Mode());
}

struct Sdi12Case {
    const char* name;
    MessageResult answer;
    bool exitHeard;
    int expected;
    std::string wireAfterWakeUp;
};

// An instrument asleep in SDI-12 mode reports the mode after a BREAK; "?EXIT!" goes out in its
// SDI-12 form, with no CR, and a second wake-up shows whether it was heard.
const Sdi12Case kSdi12Cases[] = {
    {"YesLeavesTheModeAndWakesAgain", MessageResult::kYes, true, kKTX, "?EXIT!! \r\n"},
    {"YesUnheardIsAskedOnlyOnce", MessageResult::kYes, false, kSystemIsInSDI12Mode,
     "?EXIT!!" + kToBreak},
    {"NoKeepsTheMode", MessageResult::kNo, false, kSystemIsInSDI12Mode, ""},
};

class Sdi12Test : public ::testing::TestWithParam<Sdi12Case>, public ScriptedInstrumentLine {};

TEST_P(Sdi12Test, AsksAndActsOnTheAnswer) {
    const Sdi12Case& test = GetParam();
    farEnd.awake = false;
    farEnd.wakeWord = test.exitHeard ? "?EXIT!!" : "";
    farEnd.breakReply = "SDI-12 Mode\r\n";
    ui.messageAnswers.push_back(test.answer);
    EXPECT_EQ(instrument.FindInstrument(false, true), test.expected);
    ExpectMessage("This system is running in SDI-12 Mode.\nSwitch to RS-232(Standard) Mode?",
                  "SDI-12 Mode Detected");
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::kYesNo);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::kQuestion);
    EXPECT_EQ(farEnd.Wire(), kToBreak + test.wireAfterWakeUp);
    EXPECT_EQ(instrument.IsSdi12Mode(), !test.exitHeard);
}

INSTANTIATE_TEST_SUITE_P(Answers, Sdi12Test, ::testing::ValuesIn(kSdi12Cases),
                         [](const auto& info) { return std::string(info.param.name); });

// On a real port a write returns before the bytes have left; the second wake-up's purge of the
// transmit side must not throw "?EXIT!!" away, nor a BREAK's answer hide the "SDI-12" heard
// before it.
TEST(Sdi12Exit, ReachesTheInstrumentBeforeTheNextWakeUp) {
    SimSession sim({.sdi12Mode = true});
    sim.device.SetTransmitPaced(true);
    sim.ui.messageAnswers.push_back(MessageResult::kYes);
    EXPECT_EQ(sim.session.Instrument().FindInstrument(true, true), kMirovan);
    EXPECT_NE(sim.instrument.Received().find("?EXIT!!"), std::string::npos);
    EXPECT_FALSE(sim.session.Instrument().IsSdi12Mode());
}

}  // namespace
}  // namespace brennix::test
