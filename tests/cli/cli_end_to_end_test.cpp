// brennix-cli against brennix-sim over a pseudo-terminal, as a technician would run them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "child_process.h"

namespace brennix::test {
namespace {

constexpr int kStartMs = 5000;
constexpr int kRunMs = 30000;

// brennix-sim running for the life of the object.
class Simulator {
  public:
    explicit Simulator(std::vector<std::string> options) : process_(Command(std::move(options))) {
        process_.ReadOutputLine(path_, kStartMs);
    }
    const std::string& Path() const { return path_; }

  private:
    static std::vector<std::string> Command(std::vector<std::string> options) {
        options.insert(options.begin(), BRENNIX_SIM_PATH);
        return options;
    }
    ChildProcess process_;
    std::string path_;
};

struct CliRun {
    int status;
    std::string output;
    std::string errors;
};

CliRun RunCli(std::vector<std::string> arguments, const std::string& input = {}) {
    arguments.insert(arguments.begin(), BRENNIX_CLI_PATH);
    ChildProcess cli(arguments);
    cli.WriteInput(input);
    const int status = cli.Wait(kRunMs);
    return {status, cli.Output(), cli.Errors()};
}

TEST(CliEndToEnd, SendShowsTheEchoAndTheReply) {
    Simulator simulator({});
    ASSERT_FALSE(simulator.Path().empty());
    const CliRun run = RunCli({"--port", simulator.Path(), "send", "hello", "--wait", "500"});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.output.find("hello"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find('>'), std::string::npos) << run.output;
}

class CliIdentify : public testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(CliIdentify, NamesTheModelTheSimulatorPlays) {
    const auto& [model, expected] = GetParam();
    Simulator simulator({"--model", model});
    const CliRun run = RunCli({"--port", simulator.Path(), "identify"});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output, expected + "\n");
}

INSTANTIATE_TEST_SUITE_P(Models, CliIdentify,
                         testing::Values(std::pair{"KTX", "kKTX"}, std::pair{"LMR", "kLMR"},
                                         std::pair{"Mirovan", "kMirovan"},
                                         std::pair{"Fendrel", "kFendrel"},
                                         std::pair{"MirovanAdv", "kMirovanAdv"},
                                         std::pair{"Corvex", "kCorvex"},
                                         std::pair{"Pelorin", "kPelorin"}));

TEST(CliEndToEnd, ConfigPrintsTheThreeBlocksAsHex) {
    Simulator simulator({});
    const CliRun run = RunCli({"--port", simulator.Path(), "config"});
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::string expected[] = {"Conf ", "User ", "Oper "};
    const size_t hexLength[] = {96 * 2, 258 * 2, 64 * 2};
    size_t lineStart = 0;
    for (int block = 0; block < 3; ++block) {
        const size_t lineEnd = run.output.find('\n', lineStart);
        ASSERT_NE(lineEnd, std::string::npos) << run.output;
        const std::string line = run.output.substr(lineStart, lineEnd - lineStart);
        EXPECT_EQ(line.substr(0, 5), expected[block]);
        EXPECT_EQ(line.size() - 5, hexLength[block]);
        lineStart = lineEnd + 1;
    }
}

TEST(CliEndToEnd, RS485AddressSelectsTheInstrument) {
    Simulator simulator({"--rs485", "5"});
    EXPECT_EQ(RunCli({"--port", simulator.Path(), "--rs485", "5", "identify"}).output,
              "kMirovan\n");
}

TEST(CliEndToEnd, MenuEntryAsksOnTheConsoleAndSendsTheValue) {
    Simulator simulator({});
    const CliRun run = RunCli({"--port", simulator.Path(), "menu", "CellBegin"}, "1.5\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.output.find("cb 1.5"), std::string::npos) << run.output;
    EXPECT_NE(run.errors.find("Cell begin"), std::string::npos) << run.errors;
}

TEST(CliEndToEnd, RunsACommandFile) {
    Simulator simulator({});
    const std::string path = testing::TempDir() + "cli_run_test.cmd";
    std::ofstream(path) << "// two settings\r\nai 600\r\n#WAIT_OK 3\r\nsi 60\r\n#WAIT_OK 3\r\n";
    const CliRun run = RunCli({"--port", simulator.Path(), "run", path});
    EXPECT_EQ(run.status, 0) << run.output << run.errors;
    EXPECT_NE(run.output.find("si 60"), std::string::npos) << run.output;
    std::remove(path.c_str());
}

TEST(CliEndToEnd, AFailingScriptExitsWithOne) {
    Simulator simulator({});
    const CliRun run = RunCli({"--port", simulator.Path(), "send", "#WAIT_OK 0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("ERROR: WAIT for OK failed!"), std::string::npos) << run.output;
}

TEST(CliEndToEnd, AMissingPortExitsWithTwoAndSaysWhy) {
    const CliRun run = RunCli({"--port", "/dev/brennix-no-such-port", "send", "x"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("/dev/brennix-no-such-port"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("No such file"), std::string::npos) << run.errors;
}

TEST(CliEndToEnd, TerminalSendsEachLineUntilEndOfInput) {
    Simulator simulator({});
    const CliRun run = RunCli({"--port", simulator.Path(), "terminal"}, "Ver\nsystemtype\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.output.find("MRV"), std::string::npos) << run.output;
    EXPECT_LT(run.output.find("Ver"), run.output.find("systemtype")) << run.output;
}

}  // namespace
}  // namespace brennix::test
