// brennix-cli against brennix-sim over a pseudo-terminal, as a technician would run them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runs.h"

namespace brennix::test {
namespace {

// One simulator serves a technician's session of separate commands, as a real instrument would.
TEST(CliEndToEnd, EachCommandShowsItsExchangeAndExitsWithItsStatus) {
    Simulator simulator;
    const std::string port = simulator.Port();

    const CliRun send({"--port", port, "send", "hello", "--wait", "500"});
    EXPECT_EQ(send.status, 0) << send.errors;
    EXPECT_LT(send.output.find("hello"), send.output.find('>')) << send.output;

    const CliRun menu({"--port", port, "menu", "CellBegin"}, "1.5\n");
    EXPECT_EQ(menu.status, 0) << menu.errors;
    EXPECT_NE(menu.output.find("cb 1.5"), std::string::npos) << menu.output;
    EXPECT_NE(menu.errors.find("Cell begin"), std::string::npos) << menu.errors;

    const std::string path = testing::TempDir() + "cli_run_test.cmd";
    std::ofstream(path) << "// two settings\r\nai 600\r\n#WAIT_OK 3\r\nsi 60\r\n#WAIT_OK 3\r\n";
    const CliRun file({"--port", port, "run", path});
    std::filesystem::remove(path);
    EXPECT_EQ(file.status, 0) << file.output << file.errors;
    EXPECT_NE(file.output.find("si 60"), std::string::npos) << file.output;

    const CliRun failing({"--port", port, "send", "#WAIT_OK 0"});
    EXPECT_EQ(failing.status, 1);
    EXPECT_NE(failing.output.find("ERROR: WAIT for OK failed!"), std::string::npos)
        << failing.output;

    const CliRun config({"--port", port, "config"});
    EXPECT_EQ(config.status, 0) << config.errors;
    std::istringstream blocks(config.output);
    for (const auto& [label, size] : {std::pair{"Conf ", 96u}, {"User ", 258u}, {"Oper ", 64u}}) {
        std::string line;
        std::getline(blocks, line);
        EXPECT_TRUE(line.starts_with(label)) << config.output;
        EXPECT_EQ(line.size(), 5u + 2u * size) << label;
    }

    const CliRun terminal({"--port", port, "terminal"}, "Ver\nsystemtype\n");
    EXPECT_EQ(terminal.status, 0) << terminal.errors;
    EXPECT_NE(terminal.output.find("MRV"), std::string::npos) << terminal.output;
    EXPECT_LT(terminal.output.find("Ver"), terminal.output.find("systemtype")) << terminal.output;
}

struct IdentifyCase {
    Arguments simulatorOptions;
    std::string rs485;
    std::string expected;
};

class CliIdentify : public testing::TestWithParam<IdentifyCase> {};

TEST_P(CliIdentify, NamesTheModelTheSimulatorPlays) {
    Simulator simulator(GetParam().simulatorOptions);
    const CliRun run({"--port", simulator.Port(), "--rs485", GetParam().rs485, "identify"});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output, GetParam().expected + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Models, CliIdentify,
    testing::Values(IdentifyCase{{"--model", "KTX"}, "0", "kKTX"},
                    IdentifyCase{{"--model", "LMR"}, "0", "kLMR"},
                    IdentifyCase{{"--model", "Mirovan"}, "0", "kMirovan"},
                    IdentifyCase{{"--model", "Fendrel"}, "0", "kFendrel"},
                    IdentifyCase{{"--model", "MirovanAdv"}, "0", "kMirovanAdv"},
                    IdentifyCase{{"--model", "Corvex"}, "0", "kCorvex"},
                    IdentifyCase{{"--model", "Pelorin"}, "0", "kPelorin"},
                    // An addressed instrument answers only once the wake-up selects it.
                    IdentifyCase{{"--rs485", "5"}, "5", "kMirovan"}));

TEST(CliEndToEnd, AMissingPortExitsWithTwoAndSaysWhy) {
    const CliRun run({"--port", "/dev/brennix-no-such-port", "send", "x"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("/dev/brennix-no-such-port"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("No such file"), std::string::npos) << run.errors;
}

}  // namespace
}  // namespace brennix::test
