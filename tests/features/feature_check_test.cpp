#include "script/feature_check.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "features/feature_list.h"
#include "instrument/instrument_codes.h"
#include "support/sim_session.h"

namespace brennix::test {
namespace {

enum class Line { kAnswers, kSilent, kClosed };

struct CheckCase {
    const char* name;
    const FeatureCheck* check;
    sim::Settings instrument;
    Line line = Line::kAnswers;
    // The answer to the SDI-12 question, when asked.
    MessageResult sdi12Answer = MessageResult::kYes;
    std::optional<int> accepted;
    std::string message = "";  // the refusal shown, empty when accepted
    std::string caption = "";
};

class FeatureCheckTest : public testing::TestWithParam<CheckCase> {};

TEST_P(FeatureCheckTest, AcceptsItsModelsOrSaysWhy) {
    const CheckCase& c = GetParam();
    SimSession sim(c.instrument);
    sim.instrument.GetFaults().silent = c.line == Line::kSilent;
    if (c.line == Line::kClosed) {
        sim.link.Close();
        sim.terminal.SetText("");
    }
    sim.ui.messageAnswers.push_back(c.sdi12Answer);
    EXPECT_EQ(CheckInstrumentFor(sim.session, *c.check), c.accepted);
    const std::string last = sim.ui.messages.empty() ? "" : sim.ui.messages.back().text;
    if (c.accepted) {
        EXPECT_TRUE(sim.ui.messages.empty() || last.find("SDI-12") != std::string::npos) << last;
    } else {
        ASSERT_FALSE(sim.ui.messages.empty());
        EXPECT_EQ(last, c.message);
        EXPECT_EQ(sim.ui.messages.back().caption, c.caption);
        EXPECT_EQ(sim.ui.messages.back().buttons, MessageButtons::kOk);
    }
    // The wake-up goes to the log only where the check detaches the output.
    if (c.line == Line::kAnswers) {
        EXPECT_EQ(sim.terminal.Text().empty(), c.check->detachOutput) << sim.terminal.Text();
    }
    EXPECT_EQ(sim.link.Tap().SetOutputWindow(nullptr), &sim.terminal) << "the output is back";
}

const FeatureCheck& kDeployment = SetupFeature::kCheck;
const FeatureCheck& kRecorder = RecorderFeature::kCheck;
const FeatureCheck& kCompass = CompassFeature::kCheck;
const FeatureCheck& kDiagnostics = DiagnosticsFeature::kCheck;

INSTANTIATE_TEST_SUITE_P(
    Rows, FeatureCheckTest,
    testing::Values(CheckCase{"DeploymentOnAMirovan",
                              &kDeployment,
                              {},
                              Line::kAnswers,
                              MessageResult::kYes,
                              kMirovan},
                    CheckCase{"DeploymentOnAFendrel",
                              &kDeployment,
                              {.model = sim::Model::kFendrel},
                              Line::kAnswers,
                              MessageResult::kYes,
                              std::nullopt,
                              "Deployment dialog works only with Mirovan",
                              "Mirovan not found"},
                    // After the wake-up gives up, the identification finds no prompt.
                    CheckCase{"DeploymentWithNobodyThere",
                              &kDeployment,
                              {},
                              Line::kSilent,
                              MessageResult::kYes,
                              std::nullopt,
                              "Deployment dialog works only with Mirovan",
                              "Mirovan not found"},
                    CheckCase{"RecorderOnAnyInstrument",
                              &kRecorder,
                              {.model = sim::Model::kKtx},
                              Line::kAnswers,
                              MessageResult::kYes,
                              kKTX},
                    CheckCase{"RecorderWithThePortClosed",
                              &kRecorder,
                              {},
                              Line::kClosed,
                              MessageResult::kYes,
                              std::nullopt,
                              "Instrument not found",
                              ""},
                    CheckCase{"RecorderLeftInSdi12Mode",
                              &kRecorder,
                              {.sdi12Mode = true},
                              Line::kAnswers,
                              MessageResult::kNo,
                              std::nullopt,
                              "Instrument not found",
                              ""},
                    CheckCase{"CompassAfterLeavingSdi12Mode",
                              &kCompass,
                              {.sdi12Mode = true},
                              Line::kAnswers,
                              MessageResult::kYes,
                              kKTX},
                    CheckCase{"DiagnosticsOnAFendrel",
                              &kDiagnostics,
                              {.model = sim::Model::kFendrel},
                              Line::kAnswers,
                              MessageResult::kYes,
                              kFendrel},
                    CheckCase{"DiagnosticsOnAMirovanAdv",
                              &kDiagnostics,
                              {.model = sim::Model::kMirovanAdv},
                              Line::kAnswers,
                              MessageResult::kYes,
                              std::nullopt,
                              "Echolux works only with Mirovan",
                              "Mirovan not found"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brennix::test
