// setup and deploy from brennix-cli against brennix-sim over a pseudo-terminal: a technician's
// round of changing the schedule, reading it back and starting the instrument.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>
#include <optional>
#include <string>

#include "cli_run.h"
#include "records/json_reader.h"

namespace brennix::test {
namespace {

namespace fs = std::filesystem;

fs::path Records(const TempHome& home) {
    return home.Path("Documents") / "OstrelData" / "deployments";
}

// The deployment's output names its record, kept in the records' folder under the serial number;
// it holds SI 120, taken before a refusal (what else it holds is met in the records' tests).
void ExpectRecordOfTheSchedule(const std::string& output, const fs::path& folder) {
    const std::string lead = "Deployment started (Standard).\nDeployment record: ";
    ASSERT_THAT(output, StartsWith(lead));
    const fs::path path = output.substr(lead.size(), output.find('\n', lead.size()) - lead.size());
    EXPECT_EQ(path.parent_path(), folder);
    EXPECT_THAT(path.filename().string(), StartsWith("M1234_"));
    const std::optional<JsonValue> record = ParseJson(Contents(path));
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->Find("deployPage")->Find("SI")->TextOf("metric"), "120");
    EXPECT_TRUE(fs::exists(fs::path(path).replace_extension(".html")));
}

TEST(SetupEndToEnd, ChangesTheScheduleReadsItBackAndDeploys) {
    const TempHome home;
    Simulator simulator({"--system-type", "JQ", "--frequency", "3", "--with", "waves"});
    const std::string port = simulator.Port();

    const CliRun set({"--port", port, "setup", "--set", "SI=60", "cb=1", "--set",
                      "Deployment=RIVER1", "coordsystem=xyz"});
    EXPECT_EQ(set.status, 0) << set.errors;
    EXPECT_EQ(set.output,
              "SI 60: OK\nCB 1.00: OK\nDeployment RIVER1: OK\nCoordSystem XYZ: OK\n"
              "SaveSetup: the settings are saved on the instrument.\n");

    const CliRun again({"--port", port, "setup", "--set", "SI=60", "--set", "CB=1.00"});
    EXPECT_EQ(again.status, 0) << again.errors;
    EXPECT_EQ(again.output, "Nothing to change: the instrument holds these values already.\n");

    const CliRun shown({"--port", port, "setup"});
    EXPECT_EQ(shown.status, 0) << shown.errors;
    for (const char* line : {"[Deploy]\n", "Sampling interval (s): 60\n", "File name: RIVER1\n",
                             "days of operation remaining\n[Advanced]\n",
                             "Coordinate System: XYZ\n", "System Frequency: 3 MHz\n"}) {
        EXPECT_THAT(shown.output, HasSubstr(line));
    }
    const CliRun json({"--port", port, "setup", "--units", "english", "--json"});
    EXPECT_EQ(json.status, 0) << json.errors;
    EXPECT_THAT(json.output, StartsWith("{\"units\": \"English\", \"Deploy\": {"));
    EXPECT_THAT(json.output, HasSubstr("\"Cell begin (ft)\": \"3.28\""));

    // The instrument's refusal stops the rest (the page's own rules are met in the service's
    // tests).
    const CliRun refused({"--port", port, "setup", "--set", "SI=120", "--set", "SD=1970/01/01"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.output, "SI 120: OK\n");
    EXPECT_THAT(refused.errors, HasSubstr("Invalid input: ERROR: invalid value\n"));
    EXPECT_THAT(refused.errors, HasSubstr("taken before it were saved with SaveSetup"));

    const CliRun deploy({"--port", port, "deploy"});
    EXPECT_EQ(deploy.status, 0) << deploy.errors;
    EXPECT_THAT(deploy.errors,
                HasSubstr("[Mirovan deployment] Now disconnect the communication cable"));
    ExpectRecordOfTheSchedule(deploy.output, Records(home));

    // Deployed, the instrument is woken again by the next command; this one leaves no record.
    const CliRun sdi12(
        {"--port", port, "deploy", "--mode", "sdi12", "--sdi12-address", "3", "--no-record"});
    EXPECT_EQ(sdi12.status, 0) << sdi12.errors;
    EXPECT_EQ(sdi12.output, "Deployment started (SDI-12).\n");
    const CliRun records({"records", "--json"});
    const std::optional<JsonValue> listed = ParseJson(records.output);
    ASSERT_TRUE(listed.has_value()) << records.output;
    ASSERT_EQ(listed->items.size(), 1u) << records.output;
    EXPECT_EQ(listed->At(0)->TextOf("mode"), "Standard");
}

TEST(SetupEndToEnd, ANearlyFullRecorderIsNotDeployedAndLeavesNoRecord) {
    const TempHome home;
    Simulator simulator({"--recorder-nearly-full"});
    const CliRun deploy({"--port", simulator.Port(), "deploy"});
    EXPECT_EQ(deploy.status, 1);
    EXPECT_EQ(deploy.output, "");
    EXPECT_THAT(deploy.errors, HasSubstr("Recorder is FULL or NEARLY FULL"));
    EXPECT_THAT(deploy.errors, HasSubstr("No deployment record: the deployment did not start."));
    EXPECT_FALSE(fs::exists(Records(home)));
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
    EXPECT_THAT(setup.errors, HasSubstr("brennix-cli: Unable to start thread"));
}

}  // namespace
}  // namespace brennix::test
