// brennix-cli against brennix-sim over a pseudo-terminal, as a technician would run them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli_run.h"

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
    const char* name;
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
    testing::Values(IdentifyCase{"KTX", {"--model", "KTX"}, "0", "kKTX"},
                    IdentifyCase{"LMR", {"--model", "LMR"}, "0", "kLMR"},
                    IdentifyCase{"Mirovan", {"--model", "Mirovan"}, "0", "kMirovan"},
                    IdentifyCase{"Fendrel", {"--model", "Fendrel"}, "0", "kFendrel"},
                    IdentifyCase{"MirovanAdv", {"--model", "MirovanAdv"}, "0", "kMirovanAdv"},
                    IdentifyCase{"Corvex", {"--model", "Corvex"}, "0", "kCorvex"},
                    IdentifyCase{"Pelorin", {"--model", "Pelorin"}, "0", "kPelorin"},
                    // An addressed instrument answers only once the wake-up selects it.
                    IdentifyCase{"AddressedMirovan", {"--rs485", "5"}, "5", "kMirovan"}),
    [](const auto& info) { return std::string(info.param.name); });

// Selection bytes go out before the first command, so an addressed instrument hears "send" too.
TEST(CliEndToEnd, SendReachesAnAddressedInstrument) {
    Simulator simulator({"--rs485", "3"});
    const CliRun run({"--port", simulator.Port(), "--rs485", "3", "send", "Ver", "--wait", "800"});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.output.find("Ver"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find('>'), std::string::npos) << run.output;
}

struct RefusalCase {
    const char* name;
    Arguments arguments;
    std::string fileContents;  // written to the FILE argument, if any
    int status;
    std::string error;  // what stderr holds, once
};

class CliRefusal : public testing::TestWithParam<RefusalCase> {};

// Every bad input or failed step says why on stderr, once, and never exits 0.
TEST_P(CliRefusal, SaysWhyAndFails) {
    const RefusalCase& c = GetParam();
    const std::string file = testing::TempDir() + "cli_refusal_" + c.name + ".cmd";
    Arguments arguments;
    for (const std::string& argument : c.arguments) {
        arguments.push_back(argument == "FILE"     ? file
                            : argument == "FOLDER" ? testing::TempDir()
                                                   : argument);
    }
    if (!c.fileContents.empty()) {
        std::ofstream(file, std::ios::binary) << c.fileContents;
    }
    const CliRun run(arguments);
    std::filesystem::remove(file);
    EXPECT_EQ(run.status, c.status) << run.errors;
    const size_t at = run.errors.find(c.error);
    EXPECT_NE(at, std::string::npos) << run.errors;
    EXPECT_EQ(at, run.errors.rfind(c.error)) << run.errors;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CliRefusal,
    testing::Values(
        RefusalCase{"UnknownModel",
                    {"--simulate", "--model", "Bogus", "identify"},
                    "",
                    2,
                    "unknown model 'Bogus'; --model takes one of KTX, LMR, Mirovan"},
        RefusalCase{"AddressOutOfRange",
                    {"--simulate", "--rs485", "999", "send", "Ver"},
                    "",
                    2,
                    "--rs485 999 is out of range"},
        RefusalCase{"LogOnAFullDisk",
                    {"--simulate", "--log", "/dev/full", "send", "Ver", "--wait", "300"},
                    "",
                    1,
                    "cannot write the log file /dev/full: No space left on device; the log is "
                    "incomplete"},
        RefusalCase{"LogInAMissingFolder",
                    {"--simulate", "--log", "/no-such-folder/t.log", "send", "Ver"},
                    "",
                    1,
                    "cannot create the log file /no-such-folder/t.log: No such file or directory"},
        RefusalCase{"CommandFileIsAFolder",
                    {"--simulate", "run", "FOLDER"},
                    "",
                    1,
                    "it is a folder; choose a command file inside it"},
        RefusalCase{"CommandFileIsBinary",
                    {"--simulate", "run", "FILE"},
                    std::string("Ver\r\n\x7F"
                                "ELF\x02\x01",
                                10),
                    1,
                    "it is not a text file (byte 0x7F at offset 5)"},
        RefusalCase{"MenuLabelUnknown",
                    {"--simulate", "menu", "CellMiddle"},
                    "",
                    1,
                    "no Commands entry is labelled 'CellMiddle'; menu --list shows them"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliEndToEnd, ByteOrderMarkOfACommandFileIsNotSent) {
    const std::string path = testing::TempDir() + "cli_bom_test.cmd";
    std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBFVer\r\n";
    const CliRun run({"--simulate", "run", path, "--wait", "300"});
    std::filesystem::remove(path);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(run.output.starts_with("Ver")) << run.output;
}

TEST(CliEndToEnd, ModelWithAPortIsWarnedAbout) {
    const CliRun run({"--port", "/dev/brennix-no-such-port", "--model", "KTX", "identify"});
    EXPECT_NE(run.errors.find("warning: --model only chooses the simulated instrument"),
              std::string::npos)
        << run.errors;
}

// The list needs no instrument; a label is found in any case when it names one entry.
TEST(CliEndToEnd, MenuListsTheEntriesAndTakesLabelsInAnyCase) {
    const CliRun list({"menu", "--list"});
    EXPECT_EQ(list.status, 0) << list.errors;
    EXPECT_TRUE(list.output.starts_with("Help\n  Help System\n")) << list.output;
    EXPECT_NE(list.output.find("Setup\n  AvgInterval\n  SampleInterval\n"), std::string::npos)
        << list.output;
    EXPECT_TRUE(list.output.ends_with("SDI-12\n  sdi12\n  sdi12address\n  ?EXIT!\n"))
        << list.output;

    const CliRun menu({"--simulate", "menu", "cellbegin"}, "2.5\n");
    EXPECT_EQ(menu.status, 0) << menu.errors;
    EXPECT_NE(menu.output.find("cb 2.5"), std::string::npos) << menu.output;
}

// Asking for help works anywhere, without an instrument or a display.
TEST(CliEndToEnd, HelpOfEveryProgramExitsZero) {
    std::vector<Arguments> commands = {{BRENNIX_CLI_PATH, "--help"}, {BRENNIX_SIM_PATH, "--help"}};
#ifdef BRENNIX_GUI_PATH
    const Arguments withoutDisplay = {"/usr/bin/env",    "-u", "DISPLAY",        "-u",
                                      "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM"};
    for (const char* option : {"--help", "--version"}) {
        Arguments command = withoutDisplay;
        command.insert(command.end(), {BRENNIX_GUI_PATH, option});
        commands.push_back(command);
    }
#endif
    for (const Arguments& command : commands) {
        ChildProcess program(command);
        EXPECT_EQ(program.Wait(10000), 0) << command.back() << ": " << program.Errors();
        EXPECT_FALSE(program.Output().empty()) << command.front();
    }
}

#ifdef BRENNIX_GUI_PATH
// Without a display the window program says what to use instead of aborting.
TEST(CliEndToEnd, WindowWithoutADisplaySaysWhatToUse) {
    ChildProcess program({"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u",
                          "QT_QPA_PLATFORM", BRENNIX_GUI_PATH, "--simulate"});
    EXPECT_EQ(program.Wait(10000), 1);
    EXPECT_NE(program.Errors().find("Use brennix-cli on a console"), std::string::npos)
        << program.Errors();
}
#endif

TEST(CliEndToEnd, AMissingPortExitsWithTwoAndSaysWhy) {
    const CliRun run({"--port", "/dev/brennix-no-such-port", "send", "x"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("/dev/brennix-no-such-port"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("No such file"), std::string::npos) << run.errors;
}

// Compass calibration and beam diagnostics, as a technician runs them on deck.
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

TEST(CliEndToEnd, CompassPrintsTheTurningAttitudeThenTheScores) {
    Simulator simulator;
    const CliRun run({"--port", simulator.Port(), "compass", "--seconds", "2"});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_GE(LinesStartingWith(run.output, "Heading ").size(), 3u) << run.output;
    EXPECT_NE(run.output.find("Horizontal calibration score (0-9):         0 (VERY POOR)\n"
                              "Vertical calibration score (0-9):           0 (VERY POOR)\n"
                              "Ambient magnetic field strength (0-100): 23.40 (FAIR)\n"),
              std::string::npos)
        << run.output;
}

TEST(CliEndToEnd, CompassThatDoesNotAnswerExitsWithOne) {
    Simulator simulator({"--fault", "no-compass"});
    const CliRun run({"--port", simulator.Port(), "compass", "--seconds", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("Compass not present or is not responding properly"),
              std::string::npos)
        << run.errors;
}

// Two live frames recorded, and the recording played back to the same figures.
TEST(CliEndToEnd, DiagnosticRecordingPlaysBackToTheSameFigures) {
    Simulator simulator({"--baud", "115200", "--firmware", "60"});
    const std::string port = simulator.Port();
    const std::string path = testing::TempDir() + "cli_diag_test.ecx";
    const CliRun live(
        {"--port", port, "--baud", "115200", "diag", "--frames", "2", "--record", path});
    EXPECT_EQ(live.status, 0) << live.errors;
    const std::vector<std::string> pings = LinesStartingWith(live.output, "Ping ");
    ASSERT_EQ(pings.size(), 2u) << live.output;
    EXPECT_TRUE(pings[0].starts_with("Ping 1: beam 1 noise ")) << pings[0];
    std::ifstream recording(path);
    const std::string recorded((std::istreambuf_iterator<char>(recording)), {});
    EXPECT_TRUE(recorded.starts_with("\n  0   0.35 ")) << recorded.substr(0, 60);
    EXPECT_EQ(std::count(recorded.begin(), recorded.end(), '\n'), 2 * 498);

    const CliRun played({"--port", port, "--baud", "115200", "diag", "--play", path});
    std::filesystem::remove(path);
    EXPECT_EQ(played.status, 0) << played.errors;
    EXPECT_EQ(LinesStartingWith(played.output, "Ping "), pings);
    EXPECT_NE(played.errors.find("after 2 frames"), std::string::npos) << played.errors;
}

// A closed terminal or a kill ends a command as Ctrl-C does: the calibration is ended with its
// BREAK, and the next command finds the instrument answering.
class EndedBySignal : public testing::TestWithParam<int> {};

TEST_P(EndedBySignal, LeavesTheInstrumentAnswering) {
    Simulator simulator;
    const std::string port = simulator.Port();
    {
        ChildProcess compass(
            Command(BRENNIX_CLI_PATH, {"--port", port, "compass", "--seconds", "60"}));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (compass.Output().find("Heading") == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        compass.Signal(GetParam());
        EXPECT_EQ(compass.Wait(10000), 1);
        EXPECT_NE(compass.Errors().find("calibration cancelled"), std::string::npos)
            << compass.Errors();
    }
    const CliRun identify({"--port", port, "identify"});
    EXPECT_EQ(identify.output, "kMirovan\n") << identify.errors;
}

INSTANTIATE_TEST_SUITE_P(Signals, EndedBySignal, testing::Values(SIGTERM, SIGHUP),
                         [](const auto& info) {
                             return info.param == SIGTERM ? "Term" : "Hangup";
                         });

// Nothing answers at the wrong rate: said so, with the way out; the search finds the rate.
TEST(CliEndToEnd, ASilentLineIsAFailureAndTheRateCanBeSearched) {
    Simulator simulator({"--baud", "19200"});
    const std::string port = simulator.Port();
    const CliRun silent({"--port", port, "send", "Ver"});
    EXPECT_EQ(silent.status, 1);
    EXPECT_NE(silent.errors.find("no reply from the instrument within 1000 ms"), std::string::npos)
        << silent.errors;
    EXPECT_NE(silent.errors.find("--baud auto"), std::string::npos) << silent.errors;

    const CliRun searched({"--port", port, "--baud", "auto", "identify"});
    EXPECT_EQ(searched.output, "kMirovan\n") << searched.errors;
    EXPECT_NE(searched.errors.find("answers on " + port + " at 19200 baud"), std::string::npos)
        << searched.errors;
}

}  // namespace
}  // namespace brennix::test
