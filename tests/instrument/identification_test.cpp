#include "instrument/identification.h"

#include <gtest/gtest.h>

#include "instrument/scripted_line.h"

namespace brennix::test {
namespace {

struct BannerCase {
    const char* name;
    std::string banner;
    std::string systemType;  // empty: the instrument is not asked
    int expected;
};

const BannerCase kBannerCases[] = {
    {"Ktx", "KTX 2.10", "", kKTX},
    {"KtxBeforePelorin", "PLR KTX", "", kKTX},
    {"Pelorin", "PLR 1.0", "", kPelorin},
    {"PelorinBeforeMirovan", "MRV PLR", "", kPelorin},
    {"Mirovan", "Mirovan MRV 3.2", "MRV", kMirovan},
    {"MirovanAdvanced", "Mirovan MRV 3.2", "MRV LMR", kMirovanAdv},
    {"MirovanBeforeLmr", "MRV LMR", "MRV", kMirovan},
    {"MirovanAdvancedBeforeLmr", "MRV LMR", "LMR", kMirovanAdv},
    {"MirovanBeforeFendrel", "Fndl MRV", "none", kMirovan},
    {"Fendrel", "Fndl 1.4", "", kFendrel},
    {"FendrelBeforeCorvex", "Crv Fndl", "", kFendrel},
    {"Corvex", "Crv 0.9", "", kCorvex},
    {"CorvexBeforeLmr", "LMR Crv", "", kCorvex},
    {"Lmr", "LMR 5", "", kLMR},
    {"TokensAreCaseSensitive", "ktx mrv fndl", "", kFailToWakeUpInstrument5},
    {"NoToken", "Welcome", "", kFailToWakeUpInstrument5},
};

class BannerTest : public ::testing::TestWithParam<BannerCase>, public ScriptedLine {};

TEST_P(BannerTest, NamesTheModel) {
    const BannerCase& test = GetParam();
    const int fromBanner = ModelFromBanner(test.banner);
    EXPECT_EQ(fromBanner, test.expected == kMirovanAdv ? kMirovan : test.expected);

    far.replies["Ver"] = test.banner + "\r\n>";
    far.replies["systemtype"] = test.systemType + "\r\n>";
    EXPECT_EQ(instrument.FindInstrument(true, false), test.expected);
    const std::string asked =
        std::string("\r\rVer\r") + (test.systemType.empty() ? "" : "\r\rsystemtype\r");
    EXPECT_EQ(device.Wire(), " \r\n" + asked);
    EXPECT_TRUE(ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Banners, BannerTest, ::testing::ValuesIn(kBannerCases),
                         [](const auto& info) { return std::string(info.param.name); });

class IdentificationTest : public ::testing::Test, public ScriptedLine {};

TEST_F(IdentificationTest, LeadByteE8IsDroppedAndTheBannerStillRead) {
    far.replies["Ver"] =
        "\xE8"
        "Crv 2.0\r\n>";
    EXPECT_EQ(instrument.FindInstrument(true, false), kCorvex);
}

TEST_F(IdentificationTest, RestOfTheAnswerIsTakenInBeforeReturning) {
    far.replies["Ver"] = "Fndl 1.4\r\nSerial 1234\r\n>";
    EXPECT_EQ(instrument.FindInstrument(true, false), kFendrel);
    // Only the prompt stays behind for the next command's prompt search.
    EXPECT_EQ(device.Queued(), 1u);
}

TEST_F(IdentificationTest, WithoutIdentifyAnyWokenInstrumentIsTwo) {
    far.replies["Ver"] = "Mirovan MRV 3.2\r\n>";
    EXPECT_EQ(instrument.FindInstrument(false, false), kKTX);
    EXPECT_EQ(device.Wire(), " \r\n");
}

// An instrument asleep in SDI-12 mode: it reports the mode after a BREAK and leaves it on
// "?EXIT!" with the SDI-12 terminator.
class Sdi12Test : public ::testing::Test, public ScriptedLine {
  protected:
    Sdi12Test() {
        far.awake = false;
        device.onBreak = [this] {
            if (!far.awake) {
                device.Send("SDI-12 Mode\r\n", 50);
            }
        };
    }
    const std::string wakeUpWire = " \r\n  \r\n  \r\n<BREAK>";
};

TEST_F(Sdi12Test, YesLeavesTheModeAndWakesAgain) {
    far.wakeWord = "?EXIT!!";
    EXPECT_EQ(instrument.FindInstrument(false, true), kKTX);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "This system is running in SDI-12 Mode.\nSwitch to RS-232(Standard) Mode?");
    EXPECT_EQ(ui.messages[0].caption, "SDI-12 Mode Detected");
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::kYesNo);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::kQuestion);
    // "?EXIT!" goes out in its SDI-12 form, with no CR, and the second wake-up follows.
    EXPECT_EQ(device.Wire(), wakeUpWire + "?EXIT!! \r\n");
    EXPECT_FALSE(instrument.IsSdi12Mode());
}

TEST_F(Sdi12Test, YesButStillInSdi12ModeIsAskedOnlyOnce) {
    EXPECT_EQ(instrument.FindInstrument(true, true), kSystemIsInSDI12Mode);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(device.Wire(), wakeUpWire + "?EXIT!!" + wakeUpWire);
    EXPECT_TRUE(instrument.IsSdi12Mode());
}

TEST_F(Sdi12Test, NoKeepsTheMode) {
    ui.messageAnswers.push_back(MessageResult::kNo);
    EXPECT_EQ(instrument.FindInstrument(true, true), kSystemIsInSDI12Mode);
    EXPECT_EQ(device.Wire(), wakeUpWire);
    EXPECT_TRUE(instrument.IsSdi12Mode());
}

TEST_F(IdentificationTest, Sdi12ModeChangesHowCommandsAreSent) {
    far.replies["SDI12 ON"] = "OK\r\n>";
    ASSERT_TRUE(instrument.SetSdi12Mode(true));
    EXPECT_TRUE(instrument.IsSdi12Mode());
    device.ClearWire();
    EXPECT_TRUE(instrument.SendCommand("0M"));
    EXPECT_TRUE(instrument.SetSdi12Mode(false));
    EXPECT_EQ(device.Wire(), "0M!?EXIT!!");
    EXPECT_FALSE(instrument.IsSdi12Mode());
}

TEST_F(IdentificationTest, FailedSwitchKeepsTheMode) {
    far.awake = false;
    EXPECT_FALSE(instrument.SetSdi12Mode(true));
    EXPECT_FALSE(instrument.IsSdi12Mode());
}

}  // namespace
}  // namespace brennix::test
