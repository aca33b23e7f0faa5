#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine_fixture.h"

namespace brennix::test {
namespace {

struct WaitCase {
    const char* name;
    const char* script;
    bool silent;
    uint32_t replyDelayMs;
    bool succeeds;
    uint32_t atLeastMs;
    uint32_t atMostMs;
    const char* received;
};

// #WAIT pauses whole seconds and never fails. Each attempt of #WAIT_PROMPT waits a second for the
// prompt; the one that sees it ends at once. A slow reply comes about 1.5 s after the send, when
// the first attempt (from about 400 ms) has failed.
const WaitCase kWaitCases[] = {
    {"WaitsASecondByDefault", "#WAIT", false, 0, true, 1000, 1010, ""},
    {"WaitsNothingForZero", "#WAIT 0", false, 0, true, 0, 5, ""},
    {"WaitsNothingForLessThanZero", "#WAIT '-3'", false, 0, true, 0, 5, ""},
    {"WaitsItsSeconds", "#WAIT 3", false, 0, true, 3000, 3020, ""},
    {"WaitsItsFirstParameter", "#WAIT '2' 9", false, 0, true, 2000, 2015, ""},
    {"GoesOnTheMomentThePromptArrives", "SaveSetup\n#WAIT_PROMPT 5", false, 1500, true, 1501, 1599,
     "SaveSetup\r"},
    {"PromptAlreadyInDoesNotWait", "SaveSetup\n#WAIT_PROMPT 5", false, 0, true, 0, 419,
     "SaveSetup\r"},
    {"ZeroFailsWithoutReading", "#WAIT_PROMPT 0\nabc", false, 0, false, 0, 4, "\r\n"},
    {"FailsAfterItsAttempts", "#WAIT_PROMPT 2\nabc", true, 0, false, 2000, 2019, "\r\n"},
};

class WaitTest : public EngineTest, public testing::WithParamInterface<WaitCase> {};

TEST_P(WaitTest, EndsOnTimeAndFailsOnlyWithoutAPrompt) {
    const WaitCase& c = GetParam();
    line.instrument.GetFaults().silent = c.silent;
    line.instrument.GetFaults().extraDelayMs = c.replyDelayMs;
    EXPECT_EQ(engine.Run(c.script, true) != 0, c.succeeds);
    EXPECT_GE(Now(), c.atLeastMs);
    EXPECT_LE(Now(), c.atMostMs);
    EXPECT_EQ(Received(), c.received);
    if (!c.succeeds) {
        EXPECT_EQ(Terminal(), ErrorText("No prompt!"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WaitTest, testing::ValuesIn(kWaitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, WaitShowsWhatTheInstrumentSends) {
    engine.Run("Show Conf\n#WAIT", true);
    EXPECT_TRUE(Shows("Show Conf\r")) << Terminal();
    EXPECT_EQ(Terminal().back(), '>');
}

// An error reply ends in a prompt without "OK": the first attempt ends at once, the second
// waits its full second.
TEST_F(EngineTest, WaitOkGoesOnAfterOkAndFailsAtAPromptWithoutOk) {
    EXPECT_NE(engine.Run("nc 20\n#WAIT_OK 3\nnext", true), 0);
    const uint32_t start = Now();
    EXPECT_EQ(engine.Run("xyz\n#WAIT_OK 2\nnext", true), 0);
    EXPECT_EQ(Received(), "nc 20\rnext\rxyz\r\r\n");
    EXPECT_TRUE(Shows(ErrorText("WAIT for OK failed!")));
    EXPECT_GT(Now() - start, 1400u);
    EXPECT_LT(Now() - start, 1500u);
}

TEST_F(EngineTest, MessageBoxOkGoesOnAndCancelStops) {
    EXPECT_NE(engine.Run("#MSGBOX 'Deploy now?'\na", true), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    const auto& [text, caption, buttons, icon] = ui.messages[0];
    EXPECT_EQ(std::tie(text, caption, buttons, icon),
              std::make_tuple("Deploy now?", "Message", MessageButtons::kOkCancel,
                              MessageIcon::kExclamation));

    ui.messageAnswers.push_back(MessageResult::kCancel);
    EXPECT_EQ(engine.Run("#msgbox\nb", true), 0);
    EXPECT_EQ(ui.messages[1].text, "");
    EXPECT_EQ(Received(), "a\r\r\n");
    EXPECT_TRUE(Shows(ErrorText("Execution canceled!")));
}

TEST_F(EngineTest, SetBaudRateShowsTheRateInForce) {
    engine.Run("#SETBAUDRATE 19200", true);
    EXPECT_EQ(Terminal(), "\r\nConnected to SIM at 19200\r\n");
    engine.Run("#SetBaudRate", true);
    EXPECT_EQ(Terminal(), "\r\nConnected to SIM at 19200\r\n\r\nConnected to SIM at 9600\r\n");
}

// A silent instrument fails the wake-up, which the script ignores.
TEST_F(EngineTest, SendBreakInAnyCaseAndWakeUpWhateverItsResult) {
    line.instrument.GetFaults().silent = true;
    EXPECT_NE(engine.Run("#sendbreak\n#SendBreak\n#WAKEUP\nabc", true), 0);
    EXPECT_EQ(line.device.BreakTicks().size(), 3u);
    EXPECT_TRUE(Received().starts_with("  \r\n  \r\n")) << Received();
    EXPECT_TRUE(Received().ends_with("abc\r")) << Received();
}

class RunScriptTest : public EngineTest {
  protected:
    RunScriptTest() {
        std::filesystem::create_directories(folder / "sub");
        engine.SetScriptFolders(folder.string(), "");
    }
    ~RunScriptTest() override { std::filesystem::remove_all(folder); }

    void WriteFile(const std::string& name, const std::string& text) {
        std::ofstream(folder / name, std::ios::binary) << text;
    }

    // One per process: each test removes it at its end.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("brennix_runscript_" + std::to_string(::getpid()));
};

struct StopCase {
    const char* name;
    const char* script;
    bool silent;
    uint32_t stopAtMs;
    bool succeeds;
    const char* received;
};

// Stop ends a wait after its current attempt; a wait that was the last statement just ends.
// A called file that has returned leaves its caller cancellable.
const StopCase kStopCases[] = {
    {"BetweenStatements", "a\nb\nc", false, 500, false, "a\rb\r\r\n"},
    {"InsideAWait", "#WAIT 10\nabc", false, 1500, false, "\r\n"},
    {"InsideALastWait", "#WAIT 10", false, 1500, true, ""},
    {"InsideWaitPromptCancelsInsteadOfFailing", "#WAIT_PROMPT 5\nabc", true, 1500, false, "\r\n"},
    {"AfterACalledFileReturns", "#RUNSCRIPT 'inner.cmd'\n#WAIT 5\nafter", false, 1500, false,
     "a\rb\r\r\n"},
};

class StopTest : public RunScriptTest, public testing::WithParamInterface<StopCase> {};

TEST_P(StopTest, CancelsTheRun) {
    const StopCase& test = GetParam();
    WriteFile("inner.cmd", "a\nb");
    line.instrument.GetFaults().silent = test.silent;
    ui.PressStopAt(test.stopAtMs);
    EXPECT_EQ(engine.Run(test.script, false) != 0, test.succeeds);
    EXPECT_EQ(Received(), test.received);
    EXPECT_EQ(Shows(test.succeeds ? "ERROR" : ErrorText("Execution cancelled!")), !test.succeeds);
    EXPECT_LT(Now(), test.stopAtMs + 600);
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_FALSE(engine.IsCancelRequested());
    EXPECT_EQ(ui.scriptWindowsOpen, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, StopTest, testing::ValuesIn(kStopCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunScriptTest, CalledFileSharesTheCallersVariables) {
    WriteFile("inner.cmd", "##v=\"7\"\r\ninner %w\r\n");
    EXPECT_NE(engine.Run("##w=\"3\"\n#RUNSCRIPT 'inner.cmd'\nafter %v", true), 0);
    EXPECT_EQ(Received(), "3\r7\rinner 3\rafter 7\r");
    EXPECT_EQ(ui.scriptWindowsOpened, 1);
    EXPECT_EQ(ui.scriptWindowsShown, 1);
}

// With no folders set, a plain name is looked up in the working folder.
TEST_F(RunScriptTest, FoldersAreTriedInOrderBeforeTheNameItselfThenTheWorkingFolder) {
    WriteFile("sub/inner.cmd", "second");
    WriteFile("inner.cmd", "first");
    engine.SetScriptFolders((folder / "none").string(), (folder / "sub").string());
    engine.Run("#RUNSCRIPT 'inner.cmd'", true);
    engine.SetScriptFolders("", "");
    engine.Run("#RUNSCRIPT '" + (folder / "inner.cmd").string() + "'", true);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder / "sub");
    const int result = engine.Run("#RUNSCRIPT 'inner.cmd'", true);
    std::filesystem::current_path(before);
    EXPECT_NE(result, 0);
    EXPECT_EQ(Received(), "second\rfirst\rsecond\r");
}

// A file that cannot be read never reached the instrument: its error sends nothing, where the
// other errors send their line end.
struct MissingCase {
    const char* script;
    const char* terminal;
    const char* received;
};

class RunScriptErrorTest : public RunScriptTest, public testing::WithParamInterface<MissingCase> {};

TEST_P(RunScriptErrorTest, ReportsAndStops) {
    WriteFile("bad.cmd", "#FOO");
    WriteFile("self.cmd", "#RUNSCRIPT 'self.cmd'");
    WriteFile("image.cmd", std::string("\x89PNG\r\n\0\0", 8));
    EXPECT_EQ(engine.Run(GetParam().script, true), 0);
    EXPECT_EQ(Terminal(), GetParam().terminal);
    EXPECT_EQ(Received(), GetParam().received);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, RunScriptErrorTest,
    testing::Values(
        MissingCase{"#RUNSCRIPT 'nofile.cmd'\nx", "\r\nERROR: Can't find file  nofile.cmd", ""},
        MissingCase{"#RUNSCRIPT 'sub'\nx", "\r\nERROR: Can't find file  sub", ""},
        MissingCase{"#RUNSCRIPT\nx",
                    "\r\nERROR: Not enough parameters.\nUsage: #RUNSCRIPT scriptfile.ext\n",
                    "\r\n"},
        // A called file that fails stops its caller.
        MissingCase{"#RUNSCRIPT 'bad.cmd'\nafter", "\r\nERROR: Unknown preprocessor directive: FOO",
                    "\r\n"},
        // A file that calls itself ends with an error instead of overflowing the stack.
        MissingCase{"#RUNSCRIPT 'self.cmd'\nafter",
                    "\r\nERROR: Too many nested #RUNSCRIPT calls: self.cmd", "\r\n"},
        MissingCase{"#RUNSCRIPT 'image.cmd'\nafter",
                    "\r\nERROR: Can't run file  image.cmd: it is not a text file (byte 0x00 at "
                    "offset 6)",
                    ""}),
    kNameAfterScript);

}  // namespace
}  // namespace brennix::test
