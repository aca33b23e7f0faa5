#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace brennix::cli {
namespace {

struct ParseCase {
    std::vector<std::string> arguments;
    bool accepted;
    CliCommand command;
    std::string argument;
};

class CliOptionsTest : public testing::TestWithParam<ParseCase> {};

TEST_P(CliOptionsTest, ParsesOrRefuses) {
    const ParseCase& c = GetParam();
    const ParseResult result = ParseCliOptions(c.arguments);
    ASSERT_EQ(result.options.has_value(), c.accepted) << result.error;
    if (c.accepted) {
        EXPECT_EQ(result.options->command, c.command);
        EXPECT_EQ(result.options->argument, c.argument);
    } else {
        EXPECT_FALSE(result.error.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliOptionsTest,
    testing::Values(
        ParseCase{{"--simulate"}, true, CliCommand::kTerminal, ""},
        ParseCase{{"--port", "/dev/pts/3", "send", "hello"}, true, CliCommand::kSend, "hello"},
        ParseCase{{"send", "Ver", "--simulate", "--wait", "200"}, true, CliCommand::kSend, "Ver"},
        ParseCase{{"--simulate", "menu", "CellBegin"}, true, CliCommand::kMenu, "CellBegin"},
        ParseCase{{"--simulate", "run", "a.cmd"}, true, CliCommand::kRun, "a.cmd"},
        ParseCase{{"--simulate", "identify"}, true, CliCommand::kIdentify, ""},
        // Exactly one of --port and --simulate.
        ParseCase{{}, false, CliCommand::kTerminal, ""},
        ParseCase{{"--port", "x", "--simulate"}, false, CliCommand::kTerminal, ""},
        // Missing or malformed values.
        ParseCase{{"--simulate", "send"}, false, CliCommand::kSend, ""},
        ParseCase{{"--simulate", "--baud"}, false, CliCommand::kTerminal, ""},
        ParseCase{{"--simulate", "--baud", "96OO"}, false, CliCommand::kTerminal, ""},
        ParseCase{{"--simulate", "--baud", "0"}, false, CliCommand::kTerminal, ""},
        ParseCase{{"--simulate", "--rs485", "-1"}, false, CliCommand::kTerminal, ""},
        ParseCase{{"--simulate", "dance"}, false, CliCommand::kTerminal, ""},
        ParseCase{{"--simulate", "--colour"}, false, CliCommand::kTerminal, ""},
        ParseCase{{"--simulate", "identify", "extra"}, false, CliCommand::kIdentify, ""}));

TEST(CliOptions, KeepsEveryValue) {
    const ParseResult result =
        ParseCliOptions({"--port", "/dev/ttyUSB0", "--baud", "19200", "--log", "t.log", "--rs485",
                         "3", "send", "x", "--wait", "250"});
    ASSERT_TRUE(result.options);
    EXPECT_EQ(result.options->port, "/dev/ttyUSB0");
    EXPECT_EQ(result.options->baudRate, 19200u);
    EXPECT_EQ(result.options->logPath, "t.log");
    EXPECT_EQ(result.options->rs485Address, 3u);
    EXPECT_EQ(result.options->waitMs, 250u);
}

}  // namespace
}  // namespace brennix::cli
