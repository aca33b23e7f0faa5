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
    std::optional<int> accepted;
    std::string message = "";  // the refusal shown, empty when accepted
    std::string caption = "";
    Line line = Line::kAnswers;
    // The answer to the SDI-12 question, when asked.
    MessageResult sdi12Answer = MessageResult::kYes;
};

const FeatureCheck& kDeployment = SetupFeature::kCheck;
const FeatureCheck& kRecorder = RecorderFeature::kCheck;
const FeatureCheck& kCompass = CompassFeature::kCheck;
const FeatureCheck& kDiagnostics = DiagnosticsFeature::kCheck;
const sim::Settings kAny;
const sim::Settings kFendrelOne{.model = sim::Model::kFendrel};
const sim::Settings kInSdi12Mode{.sdi12Mode = true};
constexpr std::nullopt_t kRefused = std::nullopt;

const CheckCase kCases[] = {
    {"DeploymentOnAMirovan", &kDeployment, kAny, kMirovan},
    {"DeploymentOnAFendrel", &kDeployment, kFendrelOne, kRefused,
     "Deployment dialog works only with Mirovan", "Mirovan not found"},
    // After the wake-up gives up, the identification finds no prompt.
    {"DeploymentWithNobodyThere", &kDeployment, kAny, kRefused,
     "Deployment dialog works only with Mirovan", "Mirovan not found", Line::kSilent},
    {"RecorderOnAnyInstrument", &kRecorder, sim::Settings{.model = sim::Model::kKtx}, kKTX},
    {"RecorderWithThePortClosed", &kRecorder, kAny, kRefused, "Instrument not found", "",
     Line::kClosed},
    {"RecorderLeftInSdi12Mode", &kRecorder, kInSdi12Mode, kRefused, "Instrument not found", "",
     Line::kAnswers, MessageResult::kNo},
    {"CompassAfterLeavingSdi12Mode", &kCompass, kInSdi12Mode, kKTX},
    {"DiagnosticsOnAFendrel", &kDiagnostics, kFendrelOne, kFendrel},
    {"DiagnosticsOnAMirovanAdv", &kDiagnostics, sim::Settings{.model = sim::Model::kMirovanAdv},
     kRefused, "Echolux works only with Mirovan", "Mirovan not found"},
};

TEST(FeatureCheck, AcceptsItsModelsOrSaysWhy) {
    for (const CheckCase& c : kCases) {
        SCOPED_TRACE(c.name);
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
            EXPECT_TRUE(sim.ui.messages.empty() || last.find("SDI-12") != std::string::npos)
                << last;
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
}

}  // namespace
}  // namespace brennix::test
