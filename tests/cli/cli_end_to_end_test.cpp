// brennix-cli against brennix-sim over a pseudo-terminal, as a technician would run them.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli_run.h"
#include "support/words.h"

namespace brennix::test {
namespace {

using testing::Not;

// One simulator serves a technician's session of separate commands, as a real instrument would.
TEST(CliEndToEnd, EachCommandShowsItsExchangeAndExitsWithItsStatus) {
    Simulator simulator;
    const std::string port = simulator.Port();

    const CliRun send({"--port", port, "send", "hello", "--wait", "500"});
    EXPECT_EQ(send.status, 0) << send.errors;
    EXPECT_LT(send.output.find("hello"), send.output.find('>')) << send.output;

    const CliRun menu({"--port", port, "menu", "cellbegin"}, "1.5\n");
    EXPECT_EQ(menu.status, 0) << menu.errors;
    EXPECT_THAT(menu.output, HasSubstr("cb 1.5"));
    EXPECT_THAT(menu.errors, HasSubstr("Cell begin"));

    const std::string path = TempPath("run.cmd");
    std::ofstream(path) << "// two settings\r\nai 600\r\n#WAIT_OK 3\r\nsi 60\r\n#WAIT_OK 3\r\n";
    const CliRun file({"--port", port, "run", path});
    std::filesystem::remove(path);
    EXPECT_EQ(file.status, 0) << file.output << file.errors;
    EXPECT_THAT(file.output, HasSubstr("si 60"));

    const CliRun failing({"--port", port, "send", "#WAIT_OK 0"});
    EXPECT_EQ(failing.status, 1);
    EXPECT_THAT(failing.output, HasSubstr("ERROR: WAIT for OK failed!"));

    const CliRun config({"--port", port, "config"});
    EXPECT_EQ(config.status, 0) << config.errors;
    std::istringstream blocks(config.output);
    for (const auto& [label, size] : {std::pair{"Conf ", 96u}, {"User ", 258u}, {"Oper ", 64u}}) {
        std::string line;
        std::getline(blocks, line);
        EXPECT_THAT(line, StartsWith(label));
        EXPECT_EQ(line.size(), 5u + 2u * size) << label;
    }

    const std::string log = TempPath("stamped.log");
    const CliRun terminal({"--port", port, "--log", log, "--log-time-stamps", "terminal"},
                          "Ver\nsystemtype\n");
    EXPECT_EQ(terminal.status, 0) << terminal.errors;
    EXPECT_THAT(terminal.output, HasSubstr("MRV"));
    EXPECT_LT(terminal.output.find("Ver"), terminal.output.find("systemtype")) << terminal.output;
    // The option reaches the log (each line stamped, the console not: SerialLinkLog's tests).
    std::ifstream logged(log);
    std::string first;
    std::getline(logged, first);
    EXPECT_TRUE(std::regex_search(first, std::regex(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )")))
        << first;
    std::filesystem::remove(log);
}

struct RefusalCase {
    const char* name;
    const char* arguments;  // split at blanks; FILE names a file holding fileContents
    int status;
    std::vector<std::string> errors;  // what stderr holds, each once
    std::string fileContents = {};
};

class CliRefusal : public testing::TestWithParam<RefusalCase> {};

// Every bad input or failed step says why on stderr, once, and never exits 0: 2 for a mistake in
// the arguments (with the command's usage), 1 for a step that failed.
TEST_P(CliRefusal, SaysWhyAndFails) {
    const RefusalCase& c = GetParam();
    const std::string file = TempPath(std::string(c.name) + ".cmd");
    Arguments arguments = Words(c.arguments);
    std::replace(arguments.begin(), arguments.end(), std::string("FILE"), file);
    std::ofstream(file, std::ios::binary) << c.fileContents;
    const CliRun run(arguments);
    std::filesystem::remove(file);
    EXPECT_EQ(run.status, c.status) << run.errors;
    for (const std::string& error : c.errors) {
        EXPECT_THAT(run.errors, HasSubstr(error));
        EXPECT_EQ(run.errors.find(error), run.errors.rfind(error)) << run.errors;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CliRefusal,
    testing::Values(
        RefusalCase{"SendWithoutALine",
                    "--simulate send",
                    2,
                    {"brennix-cli: the command needs LINE", "send LINE [--wait MS]"}},
        RefusalCase{"MissingPortWithAModel",
                    "--port /dev/brennix-no-such-port --model KTX identify",
                    2,
                    {"warning: --model only chooses the simulated instrument",
                     "/dev/brennix-no-such-port", "No such file"}},
        RefusalCase{"LogOnAFullDisk",
                    "--simulate --log /dev/full send Ver --wait 300",
                    1,
                    {"cannot write the log file /dev/full: No space left on device; the log is "
                     "incomplete"}},
        RefusalCase{"LogInAMissingFolder",
                    "--simulate --log /no-such-folder/t.log send Ver",
                    1,
                    {"cannot create the log file /no-such-folder/t.log: No such file"}},
        RefusalCase{"CommandFileIsBinary",
                    "--simulate run FILE",
                    1,
                    {"it is not a text file (byte 0x7F at offset 5)"},
                    std::string("Ver\r\n\x7F"
                                "ELF\x02\x01",
                                10)},
        RefusalCase{"MenuLabelUnknown",
                    "--simulate menu CellMiddle",
                    1,
                    {"no Commands entry is labelled 'CellMiddle'; menu --list shows them"}}),
    [](const auto& info) { return std::string(info.param.name); });

const Arguments kWithoutDisplay = {"/usr/bin/env",    "-u", "DISPLAY",        "-u",
                                   "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM"};

// Asking for help works anywhere, without an instrument or a display; each command shows its own.
TEST(CliEndToEnd, HelpOfEveryProgramAndCommandExitsZero) {
    std::vector<std::pair<Arguments, std::string>> asked = {
        {{BRENNIX_CLI_PATH, "--help"}, "brennix-cli"}, {{BRENNIX_SIM_PATH, "--help"}, "--model"}};
    for (const cli::CliCommandEntry& entry : cli::CliCommands()) {
        asked.push_back(
            {{BRENNIX_CLI_PATH, std::string(entry.name), "--help"}, std::string(entry.usage)});
    }
#ifdef BRENNIX_GUI_PATH
    for (const char* option : {"--help", "--version"}) {
        Arguments command = kWithoutDisplay;
        command.insert(command.end(), {BRENNIX_GUI_PATH, option});
        asked.push_back({command, ""});
    }
#endif
    for (const auto& [command, shown] : asked) {  // "" needs output, whatever it says
        ChildProcess program(command);
        EXPECT_EQ(program.Wait(10000), 0) << command[1] << ": " << program.Errors();
        EXPECT_FALSE(program.Output().empty()) << command[1];
        EXPECT_THAT(program.Output(), HasSubstr(shown));
    }
}

#ifdef BRENNIX_GUI_PATH
// Without a display the window program says what to use instead of aborting.
TEST(CliEndToEnd, WindowWithoutADisplaySaysWhatToUse) {
    Arguments command = kWithoutDisplay;
    command.insert(command.end(), {BRENNIX_GUI_PATH, "--simulate"});
    ChildProcess program(command);
    EXPECT_EQ(program.Wait(10000), 1);
    EXPECT_THAT(program.Errors(), HasSubstr("Use brennix-cli on a console"));
}
#endif

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& start) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (line.starts_with(start)) {
            lines.push_back(line);
        }
    }
    return lines;
}

// Calibration with stdin ended (as from cron): the attitude as it turns, then the scores; the
// ended input is not read again and again meanwhile.
TEST(CliEndToEnd, CompassPrintsTheTurningAttitudeThenTheScores) {
    Simulator simulator;
    const CliRun run({"--port", simulator.Port(), "compass", "--seconds", "3"});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_LT(run.cpuSeconds, 1.0);
    EXPECT_GE(LinesStartingWith(run.output, "Heading ").size(), 3u) << run.output;
    EXPECT_THAT(run.output, HasSubstr("Horizontal calibration score (0-9):         0 (VERY POOR)\n"
                                      "Vertical calibration score (0-9):           0 (VERY POOR)\n"
                                      "Ambient magnetic field strength (0-100): 23.40 (FAIR)\n"));
}

// A closed terminal or a kill ends a command as Ctrl-C does: the calibration is ended with its
// BREAK, and the next command finds the instrument answering.
TEST(CliEndToEnd, EndedBySignalLeavesTheInstrumentAnswering) {
    Simulator simulator;
    const std::string port = simulator.Port();
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        ChildProcess compass(
            Command(BRENNIX_CLI_PATH, {"--port", port, "compass", "--seconds", "60"}));
        EXPECT_TRUE(compass.Shows("Heading", 20000));
        compass.Signal(signal);
        EXPECT_EQ(compass.Wait(10000), 1);
        EXPECT_THAT(compass.Errors(), HasSubstr("calibration cancelled"));
        const CliRun identify({"--port", port, "identify"});
        EXPECT_EQ(identify.output, "kMirovan\n") << identify.errors;
    }
}

// A typed line nobody answers fails, with what can help there: an instrument asleep (as after a
// deployment) is woken by identify; a whole wake-up that brings nothing suggests the search of the
// rates, which finds it; a raw TCP port can do neither and says so.
TEST(CliEndToEnd, ASilentLineIsAFailureWithTheHintThatHelpsThere) {
    Simulator asleep({"--asleep"});
    const std::string port = asleep.Port();
    const CliRun menu({"--port", port, "menu", "Show Conf"});
    EXPECT_EQ(menu.status, 1);
    EXPECT_THAT(menu.errors, HasSubstr("no reply from the instrument within 1000 ms"));
    EXPECT_THAT(menu.errors, HasSubstr("identify wakes it"));
    EXPECT_THAT(menu.errors, Not(HasSubstr("--baud auto")));
    EXPECT_EQ(CliRun({"--port", port, "identify"}).output, "kMirovan\n");

    Simulator overTcp({"--asleep", "--listen", "tcp:0"});
    const CliRun raw({"--port", overTcp.Port(), "send", "Ver"});
    EXPECT_EQ(raw.status, 1);
    EXPECT_THAT(raw.errors, HasSubstr("carries bytes only (raw TCP)"));
    EXPECT_THAT(raw.errors, Not(HasSubstr("--baud auto")));

    Simulator faster({"--baud", "19200"});
    const CliRun wrongRate({"--port", faster.Port(), "identify"});
    EXPECT_EQ(wrongRate.status, 1);
    EXPECT_THAT(wrongRate.errors,
                HasSubstr("The baud rate may be wrong. Try --baud auto (or --port auto"));
    const CliRun searched({"--port", faster.Port(), "--baud", "auto", "identify"});
    EXPECT_EQ(searched.output, "kMirovan\n") << searched.errors;
    EXPECT_THAT(searched.errors, HasSubstr("answers on " + faster.Port() + " at 19200 baud"));
}

}  // namespace
}  // namespace brennix::test
