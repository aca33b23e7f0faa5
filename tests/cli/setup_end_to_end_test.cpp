// setup and deploy from brennix-cli against brennix-sim over a pseudo-terminal: a technician's
// round of changing the schedule, reading it back and starting the instrument.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "cli_run.h"
#include "records/json_reader.h"

namespace brennix::test {
namespace {

// The desktop program's settings file in a folder of the case's own (the cases run side by side),
// found through XDG_CONFIG_HOME as the console looks for it; the folder is home too, so that the
// deployment records go to its Documents.
class SavedSettings {
  public:
    explicit SavedSettings(const std::string& unitSystem)
        : folder_(std::filesystem::path(testing::TempDir()) /
                  (std::string("brennix_setup_e2e_") +
                   testing::UnitTest::GetInstance()->current_test_info()->name())),
          home_(getenv("HOME") ? getenv("HOME") : "") {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_ / "Ostrel");
        std::ofstream(folder_ / "Ostrel" / "Brennix.conf")
            << "[General]\nUnitSystem=1\n\n[Settings]\nUnitSystem=" << unitSystem << "\n";
        setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
        setenv("HOME", folder_.c_str(), 1);
    }
    ~SavedSettings() {
        unsetenv("XDG_CONFIG_HOME");
        setenv("HOME", home_.c_str(), 1);
        std::filesystem::remove_all(folder_);
    }
    std::filesystem::path Records() const {
        return folder_ / "Documents" / "OstrelData" / "deployments";
    }

  private:
    std::filesystem::path folder_;
    std::string home_;
};

bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The deployment's output names its record; the record holds the schedule the instrument took
// (SI 120 too, taken before a refusal).
void ExpectRecordOfTheSchedule(const std::string& output, const std::filesystem::path& folder) {
    const std::string lead = "Deployment started (Standard).\nDeployment record: ";
    ASSERT_TRUE(output.starts_with(lead)) << output;
    const std::filesystem::path path =
        output.substr(lead.size(), output.find('\n', lead.size()) - lead.size());
    EXPECT_EQ(path.parent_path(), folder);
    EXPECT_TRUE(path.filename().string().starts_with("M1234_")) << path;
    std::ifstream file(path);
    const std::optional<JsonValue> record =
        ParseJson(std::string(std::istreambuf_iterator<char>(file), {}));
    ASSERT_TRUE(record.has_value());
    const JsonValue& deploy = *record->Find("deployPage");
    for (const auto& [setting, metric] :
         {std::pair{"SI", "120"}, std::pair{"CB", "1.00"}, std::pair{"CE", "4.50"},
          std::pair{"Deployment", "RIVER1"}, std::pair{"mode", "Standard"}}) {
        EXPECT_EQ(deploy.Find(setting)->TextOf("metric"), metric) << setting;
    }
    EXPECT_EQ(record->Find("advancedPage")->Find("soundSpeed")->TextOf("metric"), "1521.52");
    EXPECT_EQ(record->Find("instrument")->TextOf("systemType"), "JQ");
    EXPECT_EQ(record->Find("commands")->items.back().TextOf("command"), "deploy");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(path).replace_extension(".html")));
}

void ExpectOnlyTheStandardRecordListed() {
    const CliRun records({"records", "--json"});
    EXPECT_EQ(records.status, 0) << records.errors;
    const std::optional<JsonValue> listed = ParseJson(records.output);
    ASSERT_TRUE(listed.has_value()) << records.output;
    ASSERT_EQ(listed->items.size(), 1u) << records.output;
    EXPECT_EQ(listed->At(0)->TextOf("mode"), "Standard");
    EXPECT_EQ(listed->At(0)->TextOf("serialNumber"), "M1234");
}

TEST(SetupEndToEnd, ChangesTheScheduleReadsItBackAndDeploys) {
    const SavedSettings metric("0");
    Simulator simulator({"--system-type", "JQ", "--frequency", "3", "--with", "waves"});
    const std::string port = simulator.Port();

    const CliRun set({"--port", port, "setup", "--set", "SI=60", "--set", "cb=1", "--set", "CE=4.5",
                      "--set", "Deployment=RIVER1", "--set", "coordsystem=xyz"});
    EXPECT_EQ(set.status, 0) << set.errors;
    EXPECT_EQ(set.output,
              "SI 60: OK\nCB 1.00: OK\nCE 4.50: OK\nDeployment RIVER1: OK\nCoordSystem XYZ: OK\n"
              "SaveSetup: the settings are saved on the instrument.\n");

    const CliRun again({"--port", port, "setup", "--set", "SI=60", "--set", "CB=1.00"});
    EXPECT_EQ(again.status, 0) << again.errors;
    EXPECT_EQ(again.output, "Nothing to change: the instrument holds these values already.\n");

    const CliRun shown({"--port", port, "setup"});
    EXPECT_EQ(shown.status, 0) << shown.errors;
    for (const char* line : {"[Deploy]\n", "Sampling interval (s): 60\n", "Cell begin (m): 1.00\n",
                             "Cell end (m): 4.50\n", "File name: RIVER1\n",
                             "days of operation remaining\n[Advanced]\n",
                             "Coordinate System: XYZ\n", "System Type: JQ\n",
                             "System Frequency: 3 MHz\n", "Def Speed of Sound (m/s): 1521.52\n"}) {
        EXPECT_TRUE(Holds(shown.output, line)) << line << shown.output;
    }
    const CliRun json({"--port", port, "setup", "--units", "english", "--json"});
    EXPECT_EQ(json.status, 0) << json.errors;
    EXPECT_TRUE(json.output.starts_with("{\"units\": \"English\", \"Deploy\": {")) << json.output;
    EXPECT_TRUE(Holds(json.output, "\"Cell begin (ft)\": \"3.28\"")) << json.output;

    // Page rules refuse before anything is sent; the instrument's refusal stops the rest.
    const CliRun tooClose({"--port", port, "setup", "--set", "CB=0.19", "--set", "SI=90"});
    EXPECT_EQ(tooClose.status, 1);
    EXPECT_EQ(tooClose.output, "");
    EXPECT_TRUE(Holds(tooClose.errors, "Cell Begin must be between  0.20 to  5.80 m."))
        << tooClose.errors;
    const CliRun longName({"--port", port, "setup", "--set", "Deployment=RIVERBANK"});
    EXPECT_EQ(longName.status, 1);
    EXPECT_TRUE(Holds(longName.errors, "must not be longer than 8 characters")) << longName.errors;
    const CliRun refused({"--port", port, "setup", "--set", "SI=120", "--set", "SD=1970/01/01",
                          "--set", "ST=06:00:00"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.output, "SI 120: OK\n");
    EXPECT_TRUE(Holds(refused.errors, "Invalid input: ERROR: invalid value\n")) << refused.errors;
    EXPECT_TRUE(Holds(refused.errors, "taken before it were saved with SaveSetup"))
        << refused.errors;

    const CliRun deploy({"--port", port, "deploy"});
    EXPECT_EQ(deploy.status, 0) << deploy.errors;
    EXPECT_TRUE(Holds(deploy.errors, "[Mirovan deployment] Now disconnect the communication cable"))
        << deploy.errors;
    ExpectRecordOfTheSchedule(deploy.output, metric.Records());

    // Deployed, the instrument is woken again by the next command; this one leaves no record.
    const CliRun sdi12(
        {"--port", port, "deploy", "--mode", "sdi12", "--sdi12-address", "3", "--no-record"});
    EXPECT_EQ(sdi12.status, 0) << sdi12.errors;
    EXPECT_EQ(sdi12.output, "Deployment started (SDI-12).\n");
    ExpectOnlyTheStandardRecordListed();
}

TEST(SetupEndToEnd, ImpossibleValuesAreRefusedBeforeOrByTheInstrument) {
    const SavedSettings metric("0");
    Simulator simulator({"--system-type", "JQ", "--frequency", "3"});
    const std::string port = simulator.Port();
    for (const char* interval : {"SI=-60", "SI=0", "AI=0"}) {
        const CliRun run({"--port", port, "setup", "--set", interval});
        EXPECT_EQ(run.status, 1) << interval;
        EXPECT_EQ(run.output, "");
        EXPECT_TRUE(Holds(run.errors, "interval must be at least 1 second.")) << run.errors;
    }
    // Several pairs after one --set; the instrument refuses water at 500 deg C.
    const CliRun hot({"--port", port, "setup", "--set", "TempMode=USER", "Temp=500"});
    EXPECT_EQ(hot.status, 1);
    EXPECT_EQ(hot.output, "TempMode USER: OK\n");
    EXPECT_TRUE(Holds(hot.errors, "Invalid input: ERROR: invalid value\n")) << hot.errors;
    EXPECT_TRUE(Holds(hot.errors, "taken before it were saved with SaveSetup")) << hot.errors;

    const CliRun address({"--port", port, "deploy", "--mode", "sdi12", "--sdi12-address", "99"});
    EXPECT_EQ(address.status, 1);
    EXPECT_TRUE(Holds(address.errors, "The SDI-12 address must be one digit, 0 to 9."))
        << address.errors;
    EXPECT_TRUE(Holds(address.errors, "the deployment was not started")) << address.errors;
}

// A system that gives no thread (here: every thread would want a terabyte of stack) is told, not
// met with an uncaught exception.
TEST(SetupEndToEnd, AWorkerThatCannotStartIsReported) {
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a terabyte stack limit moves the memory map where ThreadSanitizer cannot run";
#endif
    Simulator simulator;
    const std::string port = simulator.Port();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_STACK, &saved), 0);
    rlimit huge = saved;
    huge.rlim_cur = rlim_t{1} << 40;
    if (huge.rlim_max != RLIM_INFINITY && huge.rlim_max < huge.rlim_cur) {
        GTEST_SKIP() << "the stack limit cannot be raised here";
    }
    ASSERT_EQ(setrlimit(RLIMIT_STACK, &huge), 0);
    const CliRun setup({"--port", port, "setup"});
    setrlimit(RLIMIT_STACK, &saved);
    EXPECT_EQ(setup.status, 1);
    EXPECT_TRUE(Holds(setup.errors, "brennix-cli: Unable to start thread")) << setup.errors;
}

TEST(SetupEndToEnd, ANearlyFullRecorderIsNotDeployedAndLeavesNoRecord) {
    const SavedSettings metric("0");
    Simulator simulator({"--recorder-nearly-full"});
    const CliRun deploy({"--port", simulator.Port(), "deploy"});
    EXPECT_EQ(deploy.status, 1);
    EXPECT_EQ(deploy.output, "");
    EXPECT_TRUE(Holds(deploy.errors, "Recorder is FULL or NEARLY FULL")) << deploy.errors;
    EXPECT_TRUE(Holds(deploy.errors, "no record was written")) << deploy.errors;
    EXPECT_FALSE(std::filesystem::exists(metric.Records()));
}

}  // namespace
}  // namespace brennix::test
