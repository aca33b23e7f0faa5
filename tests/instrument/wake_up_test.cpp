#include <gtest/gtest.h>

#include "instrument/scripted_line.h"

namespace brennix::test {
namespace {

// What a wake-up sends to an instrument that never answers, up to the end of the plus signs.
const std::string kSilentWire = " \r\n  \r\n  \r\n<BREAK>++++++++++\r\r\n";

class WakeUpTest : public ::testing::Test, public ScriptedLine {};

TEST_F(WakeUpTest, AwakeInstrumentAnswersTheFirstBlankLine) {
    far.replyDelayMs = 200;
    EXPECT_EQ(instrument.FindInstrument(false, false), kKTX);
    EXPECT_EQ(device.Wire(), " \r\n");
    // No BREAK, no 2 s pause: just the wait for the prompt.
    EXPECT_LE(Elapsed(), 210u);
}

TEST_F(WakeUpTest, SilentInstrumentCostsEveryStepAndStillCountsAsAwake) {
    far.awake = false;
    EXPECT_EQ(instrument.FindInstrument(false, false), kKTX);
    EXPECT_EQ(device.Wire(), kSilentWire);
    // 1500 prompt + 400 BREAK + 500 + 500 after the plus signs + 3000 prompt + 2000 pause.
    EXPECT_GE(Elapsed(), 7900u);
    EXPECT_LE(Elapsed(), 7920u);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WakeUpTest, SilentInstrumentFailsIdentificationAtThePromptSearch) {
    far.awake = false;
    EXPECT_EQ(instrument.FindInstrument(true, false), kFailToWakeUpInstrument4);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "FAIL TO LOCATE PROMPT");
    EXPECT_EQ(ui.messages[0].caption, "");
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::kOk);
    EXPECT_EQ(device.Wire(), kSilentWire + "\r\r");
}

TEST_F(WakeUpTest, BreakWakesTheInstrument) {
    far.awake = false;
    device.onBreak = [this] {
        far.awake = true;
        device.Send("\r\nMirovan ready\r\n>", 200);
    };
    EXPECT_EQ(instrument.FindInstrument(false, false), kKTX);
    EXPECT_EQ(device.Wire(), " \r\n  \r\n  \r\n<BREAK>");
    // 1500 prompt + 400 BREAK + 500 settle + the rest of the reply + 2000 pause.
    EXPECT_GE(Elapsed(), 4400u);
    EXPECT_LE(Elapsed(), 4420u);
}

TEST_F(WakeUpTest, PlusSignsWakeTheInstrument) {
    far.awake = false;
    far.wakeWord = "++++++++++";
    EXPECT_EQ(instrument.FindInstrument(false, false), kKTX);
    EXPECT_EQ(device.Wire(), kSilentWire);
    EXPECT_LE(Elapsed(), 4920u);
}

TEST_F(WakeUpTest, CompassReportWithoutPromptFailsAfterFifteenSeconds) {
    far.awake = false;
    device.onBreak = [this] { device.Send("Compass calibrating\r\n", 100); };
    EXPECT_EQ(instrument.FindInstrument(false, false), kFailToWakeUpInstrument3);
    // No plus signs: the compass report says the instrument is awake but busy.
    EXPECT_EQ(device.Wire(), " \r\n  \r\n  \r\n<BREAK>");
    EXPECT_GE(Elapsed(), 1500u + 400 + 500 + 2000 + 15000);
}

TEST_F(WakeUpTest, LowerCaseCompassAfterThePlusSignsIsAlsoWaitedFor) {
    far.awake = false;
    far.wakeWord = "++++++++++";
    far.replies[""] = "compass busy\r\n";
    EXPECT_EQ(instrument.FindInstrument(false, false), kFailToWakeUpInstrument3);
    EXPECT_EQ(device.Wire(), kSilentWire);
}

TEST_F(WakeUpTest, Sdi12ReplyIsReportedWithoutAQuestion) {
    far.awake = false;
    device.onBreak = [this] { device.Send("SDI-12 Mode\r\n", 50); };
    EXPECT_EQ(instrument.FindInstrument(true, false), kSystemIsInSDI12Mode);
    EXPECT_TRUE(instrument.IsSdi12Mode());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WakeUpTest, NoLinkOrClosedLinkFails) {
    CInstrument unbound(clock, ui);
    EXPECT_EQ(unbound.FindInstrument(false, false), kFailToWakeUpInstrument5);
    link.Close();
    EXPECT_EQ(instrument.FindInstrument(false, false), kFailToWakeUpInstrument5);
    EXPECT_EQ(device.Wire(), "");
}

struct LineFault {
    const char* name;
    uint32_t failingPurge;
    bool breakFails;
    bool writesRefused;
    int expected;
};

class WakeUpFaultTest : public ::testing::TestWithParam<LineFault>, public ScriptedLine {};

TEST_P(WakeUpFaultTest, EndsWithItsCode) {
    const LineFault& fault = GetParam();
    far.awake = false;
    device.purgeResult = [&fault](uint32_t flags) { return flags != fault.failingPurge; };
    device.breakFails = fault.breakFails;
    device.writesRefused = fault.writesRefused;
    EXPECT_EQ(instrument.FindInstrument(true, true), fault.expected);
    EXPECT_TRUE(ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WakeUpFaultTest,
    ::testing::Values(LineFault{"ReceivePurge", kPurgeRxClear, false, false, -2},
                      LineFault{"TransmitPurge", kPurgeTxClear, false, false, -2},
                      LineFault{"Break", 0, true, false, -3},
                      LineFault{"Write", 0, false, true, -2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WakeUpTest, Rs485AddressIsSelectedBeforeEveryWakeUpStep) {
    far.awake = false;
    instrument.SetRs485Address(5);
    EXPECT_EQ(instrument.FindInstrument(false, false), kKTX);
    const std::string select = "\xF0\xF0\xF0\xF5";
    EXPECT_EQ(device.Wire(),
              select + " \r\n  \r\n  \r\n<BREAK>" + select + "++++++++++" + select + "\r\r\n");
}

TEST_F(WakeUpTest, Rs485SelectionCombinesTheAddressLowByteWithF0) {
    far.awake = true;
    instrument.SetRs485Address(0x1A3);
    EXPECT_EQ(instrument.FindInstrument(false, false), kKTX);
    EXPECT_EQ(device.Wire(), "\xF0\xF0\xF0\xF3 \r\n");
}

TEST_F(WakeUpTest, Rs485SelectionStopsAtTheFirstRefusedByte) {
    instrument.SetRs485Address(1);
    device.writesRefused = true;
    EXPECT_EQ(instrument.FindInstrument(false, false), kFailToWakeUpInstrument1);
    // Each refused byte is retried for its 100 ms; only the first one is tried.
    EXPECT_LE(Elapsed(), 1200u);
}

}  // namespace
}  // namespace brennix::test
