// The recorder on the console against brennix-sim on a pseudo-terminal: files served from a
// folder come back byte for byte through a switched rate; a format asks first; Ctrl-C keeps the
// part that came, or says that the card may be erased.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
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

    std::string Put(const std::string& name, size_t size) {
        return PutRandomFile(Recorder() / name, size);
    }
    Arguments Sim() const {
        return {"--recorder-dir", Recorder().string(), "--transcript", home_.Path("wire")};
    }

    TempHome home_;
};

TEST_F(CliRecorderTest, ListsDownloadsAtTheChosenRateSwitchingBackThenFormatsWhenToldYes) {
    const std::string first = Put("DEP7.000", 30000);
    const std::string second = Put("DEP7.001", 5000);
    Simulator simulator(Sim());
    const std::string port = simulator.Port();

    const CliRun list({"--port", port, "recorder", "list"});
    EXPECT_EQ(list.status, 0) << list.errors;
    EXPECT_THAT(list.output, StartsWith("Files: 2\nUsed space 128.0 kB / 4.00 MB\nDEP7.000"));
    EXPECT_THAT(list.output, HasSubstr("       5000  "));

    const CliRun download(
        {"--port", port, "recorder", "download", "--all", "--to", Out(), "--rate", "115200"});
    EXPECT_EQ(download.status, 0) << download.output << download.errors;
    EXPECT_TRUE(Contents(Out() / "DEP7.000.mrv") == first);
    EXPECT_TRUE(Contents(Out() / "DEP7.001.mrv") == second);
    EXPECT_THAT(download.output, HasSubstr("Done\nTotal time 00:00:0"));
    // Not a terminal: plain progress lines.
    EXPECT_THAT(download.errors, HasSubstr("DEP7.000.mrv  20%  Time left 00:00:0"));
    EXPECT_THAT(Wire(), HasSubstr("BAUD 0 115200"));
    EXPECT_THAT(Wire(), HasSubstr("BAUD 0 9600"));

    // Without --rate, the rate the recorder manager keeps (57600 when none was chosen).
    const CliRun again(
        {"--port", port, "recorder", "download", "DEP7.001", "--to", Out(), "--replace", "yes"});
    EXPECT_EQ(again.status, 0) << again.output << again.errors;
    EXPECT_THAT(Wire(), HasSubstr("BAUD 0 57600"));
    EXPECT_THAT(again.output, HasSubstr(", files in " + Out().string()));

    // The format's question is asked on the console; formatted, there is nothing to download.
    const CliRun declined({"--port", port, "recorder", "format"}, "c\n");
    EXPECT_EQ(declined.status, 1);
    EXPECT_THAT(declined.errors, HasSubstr("WARNING: Formatting will erase ALL data"));
    EXPECT_EQ(declined.output, "Not formatted\n");

    const CliRun formatted({"--port", port, "recorder", "format", "--yes"});
    EXPECT_EQ(formatted.status, 0) << formatted.output << formatted.errors;
    EXPECT_EQ(formatted.output, "Done\n");
    const CliRun none({"--port", port, "recorder", "download", "--all", "--to", Out()});
    EXPECT_EQ(none.status, 0) << none.errors;
    EXPECT_EQ(none.output, "The recorder has no files: nothing to download\n");
}

// At the line's own rate no rate change afterwards finds the prompt again: the settling does.
TEST_F(CliRecorderTest, CtrlCSaysWhatIsLeftAndTheNextCommandFindsTheInstrument) {
    Put("LONG.000", 60000);
    Simulator simulator(Sim());
    const std::string port = simulator.Port();
    ChildProcess cli(Command(BRENNIX_CLI_PATH, {"--port", port, "recorder", "download", "LONG.000",
                                                "--to", Out(), "--rate", "9600"}));
    EXPECT_TRUE(cli.Shows("LONG.000.mrv  10%", 30000));
    cli.Signal(SIGINT);
    EXPECT_EQ(cli.Wait(20000), 1);
    const std::string output = cli.Output();
    EXPECT_THAT(output, HasSubstr("LONG.000.mrv.part  partial: "));
    EXPECT_THAT(output, HasSubstr("Cancelled\nTotal time"));
    EXPECT_THAT(output, HasSubstr("Partial: LONG.000.mrv.part"));
    EXPECT_FALSE(fs::exists(Out() / "LONG.000.mrv"));
    const auto kept = fs::file_size(Out() / "LONG.000.mrv.part");
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 60000u);

    const CliRun after({"--port", port, "send", "Ver"});
    EXPECT_THAT(after.output, StartsWith("Ver\nOstrel Mirovan"));
    EXPECT_EQ(after.errors, "");

    // Stopped while the instrument erases: the wait for its prompt is shown, and what may be lost.
    ChildProcess format(Command(BRENNIX_CLI_PATH, {"--port", port, "recorder", "format", "--yes"}));
    EXPECT_TRUE(format.Shows("Formatting (2%)", 10000));
    format.Signal(SIGINT);
    EXPECT_EQ(format.Wait(20000), 1);
    EXPECT_THAT(format.Errors(), HasSubstr("%  Waiting for the instrument's prompt..."));
    EXPECT_THAT(format.Output(), HasSubstr("Cancelled\nThe instrument had been told to erase: the "
                                           "memory card may already be erased\n"));
    EXPECT_THAT(CliRun({"--port", port, "recorder", "list"}).output, StartsWith("Files: 0\n"));
}

}  // namespace
}  // namespace brennix::test
