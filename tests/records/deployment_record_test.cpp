// A deployment's record on the simulator and virtual time: once written and read back, every value
// it holds is what the instrument holds afterwards, in each mode and unit system; the session's
// compass and beam notes appear only when there are some; a folder that cannot take it is named.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "instrument/setup_reader.h"
#include "records/json_reader.h"
#include "records/record_files.h"
#include "setup/control_table.h"
#include "setup/page_content.h"
#include "setup/setup_rig.h"
#include "sim/sim_recorder.h"

namespace brennix::test {
namespace {

namespace fs = std::filesystem;
using enum SetupControl;

struct Case {
    const char* name;
    DeploymentMode mode;
    UnitSystem units;
    bool notes;  // a compass calibration and beam diagnostics ran in the session
};
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

class DeploymentRecordTest : public testing::TestWithParam<Case>, public SetupRig {
  protected:
    DeploymentRecordTest()
        : SetupRig({}, GetParam().units),
          folder_(fs::path(testing::TempDir()) / ("records_" + std::string(GetParam().name))) {
        fs::remove_all(folder_);
    }
    ~DeploymentRecordTest() override { fs::remove_all(folder_); }

    // Deploys with a changed schedule and, in SDI-12, changed dialog values.
    SetupResult DeployChanged() {
        EXPECT_EQ(RunJob([](SetupService& s) { return s.Read(); }).outcome, SetupOutcome::kDone);
        SetupSheet& sheet = Sheet();
        sheet.SetValue(kSamplingInterval, "600");
        sheet.SetValue(kFileName, "RIVER1");
        sheet.SetValue(kSalinity, "30.0");
        const bool sdi12 = GetParam().mode == DeploymentMode::kSdi12;
        sheet.SetValue(kMode, sdi12 ? "SDI-12" : "Standard");
        heard.sdi12Dialog = [&sheet](const std::optional<Refusal>&) {
            sheet.SetValue(kSdi12Address, "7");
            sheet.SetValue(kSdi12Format, "Tandrel");
            sheet.SetValue(kSdi12Units, "Metric");
            return true;
        };
        return Deploy();
    }
    // The instrument woken after its deployment: its record and its SDI-12 address.
    SetupRecord HeldRecord() {
        sim.session.Instrument().FindInstrument(false, false);
        return ReadSetupRecord(sim.session.Instrument()).record.value();
    }
    std::string HeldSdi12Address() {
        std::vector<char> reply(100);
        CInstrument& instrument = sim.session.Instrument();
        EXPECT_TRUE(instrument.ExecCommand("Sdi12Address", reply, false, 0) &&
                    instrument.WaitFor(reply, ">", 1000, false));
        const std::string text(reply.data());
        const size_t at = text.find("Sdi12Address ");
        return at == std::string::npos ? "" : text.substr(at + 13, 1);
    }

    fs::path folder_;
};

void ExpectPage(const JsonValue& page, ControlHome home, const SetupRecord& held, UnitSystem units,
                const std::string& mode) {
    SetupRecord copy = held;
    const auto load = [&](UnitSystem in) {
        return home == ControlHome::kDeployPage ? LoadDeployPage(copy, in)
                                                : LoadAdvancedPage(copy, in);
    };
    const ControlValues metric = load(UnitSystem::kMetric);
    const ControlValues shown = load(units);
    for (const ControlSpec* spec : ShownOrder(home)) {
        const std::string key(spec->step.word.empty() ? spec->name : spec->step.word);
        SCOPED_TRACE(key);
        const JsonValue* value = page.Find(key);
        ASSERT_NE(value, nullptr);
        const bool isMode = spec->control == kMode;
        EXPECT_EQ(value->TextOf("metric"), isMode ? mode : ValueOf(metric, spec->control));
        EXPECT_EQ(value->TextOf("shown"), isMode ? mode : ValueOf(shown, spec->control));
        EXPECT_EQ(value->TextOf("shownLabel"), PlainLabel(ControlLabel(spec->control, units)));
    }
}

TEST_P(DeploymentRecordTest, HoldsWhatTheInstrumentHoldsAfterwards) {
    const Case& c = GetParam();
    if (c.notes) {
        sim.session.Notes().compass = CompassNote{1, true, 8, "Excellent", 5, "Good", 0.52, "Good"};
        sim.session.Notes().beams = BeamNote{
            2, 42, true, "Range (m)", 10.0f, {0.5f, 1.0f}, {{21, 2, 180, {150.0f, 90.0f}}}};
    }
    const SetupResult result = DeployChanged();
    ASSERT_EQ(result.outcome, SetupOutcome::kDone);
    const WrittenRecord written = KeepDeploymentRecord(
        {1700000000, result, service.Sheet(), c.units, sim.session}, folder_.string());
    ASSERT_TRUE(written.written) << written.error;
    EXPECT_TRUE(ReadFile(written.htmlPath).starts_with("<!DOCTYPE html>"));
    const std::optional<JsonValue> json = ParseJson(ReadFile(written.jsonPath));
    ASSERT_TRUE(json.has_value());
    const SetupRecord held = HeldRecord();
    const std::string mode = c.mode == DeploymentMode::kSdi12 ? "SDI-12" : "Standard";

    EXPECT_EQ(json->Find("format")->number, 1.0);
    EXPECT_EQ(json->Find("instrument")->TextOf("serialNumber"), held.Conf().SerialNumber());
    EXPECT_EQ(json->Find("connection")->Find("rate")->number, sim.link.GetBaudRate());
    EXPECT_EQ(json->TextOf("units"), c.units == UnitSystem::kEnglish ? "English" : "Metric");
    ExpectPage(*json->Find("deployPage"), ControlHome::kDeployPage, held, c.units, mode);
    ExpectPage(*json->Find("advancedPage"), ControlHome::kAdvancedPage, held, c.units, mode);
    const JsonValue& deployment = *json->Find("deployment");
    EXPECT_EQ(deployment.TextOf("mode"), mode);
    if (c.mode == DeploymentMode::kSdi12) {
        const ControlValues dialog = LoadSdi12Dialog(held);
        const JsonValue& sdi12 = *deployment.Find("sdi12");
        EXPECT_EQ(sdi12.TextOf("address"), HeldSdi12Address());
        EXPECT_EQ(sdi12.TextOf("format"), ValueOf(dialog, kSdi12Format));
        EXPECT_EQ(sdi12.TextOf("units"), ValueOf(dialog, kSdi12Units));
    } else {
        EXPECT_EQ(deployment.Find("sdi12"), nullptr);
    }
    const JsonValue& recorder = *json->Find("recorder");
    EXPECT_EQ(recorder.Find("capacityBytes")->number,
              sim.instrument.GetSettings().recorderCapacity);
    EXPECT_EQ(recorder.Find("files")->items.size(), sim.instrument.Recorder().Files().size());
    // Every command, in the order the instrument heard them, the deployment's own last.
    const std::string received = sim.instrument.Received();
    size_t from = 0;
    for (const JsonValue& command : json->Find("commands")->items) {
        from = received.find(command.TextOf("command") + "\r", from);
        EXPECT_NE(from, std::string::npos) << command.TextOf("command");
    }
    EXPECT_EQ(json->Find("commands")->items.back().TextOf("command"),
              c.mode == DeploymentMode::kSdi12 ? "sample" : "deploy");
    EXPECT_EQ(json->Find("compass") != nullptr, c.notes);
    EXPECT_EQ(json->Find("beamDiagnostics") != nullptr, c.notes);
    if (c.notes) {
        EXPECT_EQ(json->Find("compass")->Find("horizontal")->Find("score")->number, 8);
        EXPECT_EQ(json->Find("beamDiagnostics")->Find("beams")->At(0)->Find("peakLevel")->number,
                  180);
        EXPECT_NE(ReadFile(written.htmlPath).find("<th>Position (counts)</th>"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Deployments, DeploymentRecordTest,
    testing::Values(Case{"StandardMetric", DeploymentMode::kStandard, UnitSystem::kMetric, false},
                    Case{"StandardEnglish", DeploymentMode::kStandard, UnitSystem::kEnglish, true},
                    Case{"Sdi12Metric", DeploymentMode::kSdi12, UnitSystem::kMetric, true},
                    Case{"Sdi12English", DeploymentMode::kSdi12, UnitSystem::kEnglish, false}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(DeploymentRecordFolder, ThatCannotBeMadeIsNamedAndNothingIsLeft) {
    const fs::path file = fs::path(testing::TempDir()) / "records_not_a_folder";
    std::ofstream(file) << "a file where the folder would be";
    const WrittenRecord written = WriteDeploymentRecord((file / "deployments").string(), {});
    EXPECT_FALSE(written.written);
    EXPECT_TRUE(written.error.starts_with((file / "deployments").string())) << written.error;
    EXPECT_EQ(RecordReport(written).at(1), "The deployment has started all the same.");
    fs::remove(file);
}

}  // namespace
}  // namespace brennix::test
