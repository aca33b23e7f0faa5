// The recorder on the console against brennix-sim on a pseudo-terminal: files served from a
// folder come back byte for byte through a switched rate; Ctrl-C keeps the part that came; a
// format asks first.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "cli_run.h"

namespace brennix::test {
namespace {

namespace fs = std::filesystem;

// A recorder folder for the simulator, with its wire transcript, and the console's settings (the
// saved download rate), all in a temporary home.
class CliRecorderTest : public testing::Test {
  protected:
    CliRecorderTest() { fs::create_directories(Recorder()); }

    fs::path Recorder() const { return home_.Path("recorder"); }
    fs::path Out() const { return home_.Path("out"); }
    std::string Wire() const { return Contents(home_.Path("wire")); }

    // A file of random bytes on the recorder.
    std::string Put(const std::string& name, size_t size) {
        std::mt19937 random(static_cast<unsigned>(size));
        std::string data(size, '\0');
        for (char& byte : data)
            byte = static_cast<char>(random());
        std::ofstream(Recorder() / name, std::ios::binary) << data;
        return data;
    }
    Arguments Sim() const {
        return {"--recorder-dir", Recorder().string(), "--transcript", home_.Path("wire")};
    }

    TempHome home_;
};

TEST_F(CliRecorderTest, ListsThenDownloadsByteForByteAtTheChosenRateAndSwitchesBack) {
    const std::string first = Put("DEP7.000", 30000);
    const std::string second = Put("DEP7.001", 5000);
    Simulator simulator(Sim());
    const std::string port = simulator.Port();

    const CliRun list({"--port", port, "recorder", "list"});
    EXPECT_EQ(list.status, 0) << list.errors;
    EXPECT_TRUE(list.output.starts_with("Files: 2\nUsed space 128.0 kB / 4.00 MB\nDEP7.000"))
        << list.output;
    EXPECT_NE(list.output.find("       5000  "), std::string::npos) << list.output;

    const CliRun download(
        {"--port", port, "recorder", "download", "--all", "--to", Out(), "--rate", "115200"});
    EXPECT_EQ(download.status, 0) << download.output << download.errors;
    EXPECT_TRUE(Contents(Out() / "DEP7.000.mrv") == first);
    EXPECT_TRUE(Contents(Out() / "DEP7.001.mrv") == second);
    EXPECT_NE(download.output.find("Done\nTotal time 00:00:0"), std::string::npos)
        << download.output;
    // Not a terminal: plain progress lines.
    EXPECT_TRUE(download.Said("DEP7.000.mrv  20%  Time left 00:00:0")) << download.errors;
    EXPECT_NE(Wire().find("BAUD 0 115200"), std::string::npos);
    EXPECT_NE(Wire().find("BAUD 0 9600"), std::string::npos);

    // Without --rate, the rate the recorder manager keeps (57600 when none was chosen).
    const CliRun again(
        {"--port", port, "recorder", "download", "DEP7.001", "--to", Out(), "--replace", "yes"});
    EXPECT_EQ(again.status, 0) << again.output << again.errors;
    EXPECT_NE(Wire().find("BAUD 0 57600"), std::string::npos);
    EXPECT_NE(again.output.find(", files in " + Out().string()), std::string::npos) << again.output;
}

// At the line's own rate no rate change afterwards finds the prompt again: the settling does.
TEST_F(CliRecorderTest, CtrlCKeepsWhatCameAndTheNextCommandFindsTheInstrument) {
    Put("LONG.000", 60000);
    Simulator simulator(Sim());
    const std::string port = simulator.Port();
    ChildProcess cli(Command(BRENNIX_CLI_PATH, {"--port", port, "recorder", "download", "LONG.000",
                                                "--to", Out(), "--rate", "9600"}));
    EXPECT_TRUE(cli.Shows("LONG.000.mrv  10%", 30000));
    cli.Signal(SIGINT);
    EXPECT_EQ(cli.Wait(20000), 1);
    const std::string output = cli.Output();
    EXPECT_NE(output.find("LONG.000.mrv.part  partial: "), std::string::npos) << output;
    EXPECT_NE(output.find("Cancelled\nTotal time"), std::string::npos) << output;
    EXPECT_NE(output.find("Partial: LONG.000.mrv.part"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(Out() / "LONG.000.mrv"));
    const auto kept = fs::file_size(Out() / "LONG.000.mrv.part");
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 60000u);

    const CliRun after({"--port", port, "send", "Ver"});
    EXPECT_TRUE(after.output.starts_with("Ver\nOstrel Mirovan")) << after.output;
    EXPECT_EQ(after.errors, "");
}

// The question is asked on the console; an empty recorder has nothing to download, and says so.
TEST_F(CliRecorderTest, FormatAsksUnlessToldYesAndErasesEverything) {
    Put("OLD.000", 100);
    Simulator simulator(Sim());
    const std::string port = simulator.Port();
    const CliRun declined({"--port", port, "recorder", "format"}, "c\n");
    EXPECT_EQ(declined.status, 1);
    EXPECT_TRUE(declined.Said("WARNING: Formatting will erase ALL data"));
    EXPECT_EQ(declined.output, "Not formatted\n");

    const CliRun formatted({"--port", port, "recorder", "format", "--yes"});
    EXPECT_EQ(formatted.status, 0) << formatted.output << formatted.errors;
    EXPECT_EQ(formatted.output, "Done\n");
    const CliRun none({"--port", port, "recorder", "download", "--all", "--to", Out()});
    EXPECT_EQ(none.status, 0) << none.errors;
    EXPECT_EQ(none.output, "The recorder has no files: nothing to download\n");
}

}  // namespace
}  // namespace brennix::test
