#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "script/worker_session.h"

namespace brennix::test {
namespace {

struct SendCase {
    const char* script;
    const char* received;
};

class SendLineTest : public EngineTest, public testing::WithParamInterface<SendCase> {};

// x holds ON, y and n hold 5; no other variable is set.
TEST_P(SendLineTest, SendsTheBuiltTextOfTheBranchesTaken) {
    engine.SetVariable("x", "ON");
    engine.SetVariable("y", "5");
    engine.SetVariable("n", "5");
    EXPECT_NE(engine.Run(GetParam().script, true), 0);
    EXPECT_EQ(Received(), GetParam().received);
    EXPECT_EQ(Terminal().find("\r\nERROR: "), std::string::npos) << Terminal();
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SendLineTest,
    testing::Values(SendCase{"abc // note", "abc\r"}, SendCase{"// note\nabc", "abc\r"},
                    SendCase{"   ", "\r"}, SendCase{"\r\n\r\n\n", "\r\n"},
                    SendCase{"// only a comment", "\r\n"}, SendCase{"a\n\n\nb", "a\rb\r"},
                    SendCase{"set %x", "set ON\r"}, SendCase{"set %X%y", "set ON%y\r"},
                    SendCase{"a \"%x\" b", "a \"%x\" b\r"}, SendCase{"\tcy %y", "cy 5\r"},
                    SendCase{"##x=\"5\"", "5\r"}, SendCase{"v ##y", "v 5\r"},
                    SendCase{"date ##DATE()", "date 2026/01/02\r"},
                    SendCase{"t ##time() ok", "t 03:04:05 ok\r"},
                    SendCase{"say \"a//b\"", "say \"a\r"}, SendCase{"set %y.b", "set 5.b\r"},
                    SendCase{"##v='y'", "5\r"}, SendCase{"##v=", "\r"},
                    SendCase{"##v=\"a b\"", "a b\r"}),
    kNameAfterScript);

TEST_F(EngineTest, ScriptEndsAtItsFirstNulByte) {
    EXPECT_NE(engine.Run(std::string("ab\0cd\nef", 8), true), 0);
    EXPECT_EQ(Received(), "ab\r");
}

TEST_F(EngineTest, VariablesLastFromRunToRunAndTheirNamesReach128Characters) {
    engine.Run("##n=\"12\"", true);
    engine.SetVariable(std::string(128, 'n'), "7");
    EXPECT_NE(engine.Run("nc %N %" + std::string(128, 'n'), true), 0);
    EXPECT_EQ(Received(), "12\rnc 12 7\r");
}

// A setting a job sends (the setup sheet's) is run by the job's own engine on its worker, yet
// with the terminal's variables, both ways.
TEST_F(EngineTest, AJobsEngineUsesTheTerminalsVariables) {
    engine.Run("##cells=\"20\"", true);
    WorkerSession worker(line.session, ui);
    std::array<char, 64> reply{};
    const CInstrument::CommandSender typed = worker.TypedLine();
    EXPECT_TRUE(worker.Instrument().ExecCommand("nc %cells", reply, false, 0, typed));
    EXPECT_TRUE(worker.Instrument().ExecCommand("##cells=\"30\"", reply, false, 0, typed));
    EXPECT_NE(engine.Run("cb %CELLS", true), 0);
    EXPECT_EQ(Received(), "20\rnc 20\r30\rcb 30\r");
}

const std::string kTooLongName = "set %" + std::string(129, 'n') + " x";
const std::string kTooLongNameError = "Too long variable name: " + std::string(129, 'n') + " x";

struct CompileErrorCase {
    const char* script;
    const char* error;
};

class CompileErrorRunTest : public EngineTest,
                            public testing::WithParamInterface<CompileErrorCase> {};

// Nothing of the script goes out: only the CR LF that every error report sends.
TEST_P(CompileErrorRunTest, ReportsAndSendsNothingOfTheScript) {
    EXPECT_EQ(engine.Run(GetParam().script, false), 0);
    EXPECT_EQ(Received(), "\r\n");
    EXPECT_EQ(Terminal(), ErrorText(GetParam().error));
    EXPECT_EQ(ui.scriptWindowsOpened, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CompileErrorRunTest,
    testing::Values(
        CompileErrorCase{"abc\n#IF x\n#ENDIF", "Invalid syntax in #IF statement (line 2)"},
        CompileErrorCase{"#IF x == 5 6", "Invalid syntax in #IF statement"},
        CompileErrorCase{"#IF x = 5", "Invalid syntax in #IF statement"},
        CompileErrorCase{"#IF 1 == 1\n#IF y\n#ENDIF\n#ENDIF",
                         "Invalid syntax in #IF statement (line 2)"},
        CompileErrorCase{"#IF a == b\n#ELSEIF a\n#ENDIF",
                         "Invalid syntax in #ELSEIF statement (line 2)"},
        CompileErrorCase{"abc\n##x = 5", "Invalid expression ' x = 5 ' (line 2)"},
        CompileErrorCase{"set ##x more", "Invalid expression ' x more '"},
        CompileErrorCase{"##x=my_var", "Invalid function name: my_var"},
        CompileErrorCase{"cb ##input('Cell begin',%x)",
                         "Invalid parameter name input('Cell begin',%x)"},
        CompileErrorCase{"abc\n#DIALOG\nx=input()", "Unclosed #DIALOG block (line 2)"},
        CompileErrorCase{"#DIALOG\nx = 1\n#ENDDIALOG", "Invalid expression ' x = 1 ' (line 2)"},
        CompileErrorCase{kTooLongName.c_str(), kTooLongNameError.c_str()},
        // A condition's open quote stops the script; blank and comment lines count, CR LF is
        // one line break.
        CompileErrorCase{"#IF x == 'y", "Unterminated string"},
        CompileErrorCase{"a\r\n\r\n// note\r\n#IF x == 'y\r\nb\r\n#ENDIF",
                         "Unterminated string (line 4)"}),
    kNameAfterScript);

// Each report sends CR LF to the instrument before the script runs.
TEST_F(EngineTest, UnparsableDirectivesAreReportedAndTheRestRuns) {
    EXPECT_NE(engine.Run("a\n#MSGBOX('Hi')\nb\n#MSGBOX \"Hi\nc", true), 0);
    EXPECT_EQ(Received(), "\r\n\r\na\rb\rc\r");
    EXPECT_TRUE(Terminal().starts_with(ErrorText("Syntax error ')'") +
                                       ErrorText("Unterminated string") + "\r>"));
    EXPECT_TRUE(ui.messages.empty());
}

// Run by the technician, a script of several lines names the line a run-time error stopped it
// at; a quiet run of the same text does not.
TEST_F(EngineTest, ARunOfSeveralLinesNamesTheLineOfItsError) {
    EXPECT_EQ(engine.Run("a\n\n#WAIT abc\nb", false), 0);
    EXPECT_TRUE(Shows(ErrorText("Variable not found: abc (line 3)"))) << Terminal();
    line.terminal.SetText("");
    EXPECT_EQ(engine.Run("a\n\n#WAIT abc\nb", true), 0);
    EXPECT_TRUE(Terminal().ends_with(ErrorText("Variable not found: abc"))) << Terminal();
}

struct RunErrorCase {
    const char* script;
    const char* received;
    const char* error;
};

class RunErrorTest : public EngineTest, public testing::WithParamInterface<RunErrorCase> {};

// Everything before the failing statement stays sent; nothing after it is.
TEST_P(RunErrorTest, StopsAtTheStatement) {
    EXPECT_EQ(engine.Run(GetParam().script, true), 0);
    EXPECT_EQ(Received(), GetParam().received);
    EXPECT_TRUE(Shows(ErrorText(GetParam().error))) << Terminal();
}

INSTANTIATE_TEST_SUITE_P(
    Errors, RunErrorTest,
    testing::Values(RunErrorCase{"a\n#FOO 1\nb", "a\r\r\n", "Unknown preprocessor directive: FOO"},
                    // No row serves the name, so its parameters are never looked up.
                    RunErrorCase{"#FOO nope", "\r\n", "Unknown preprocessor directive: FOO"},
                    RunErrorCase{"a\n#WAIT abc\nb", "a\r\r\n", "Variable not found: abc"},
                    RunErrorCase{"load 50%", "\r\n", "Variable not found: "},
                    // A parameter that does not start with a digit names a variable.
                    RunErrorCase{"#WAIT -3", "\r\n", "Variable not found: -3"},
                    RunErrorCase{"a\nset %nope", "a\r\r\n", "Variable not found: nope"},
                    RunErrorCase{"x ##FOO(a)", "\r\n", "Unknown function: FOO"},
                    RunErrorCase{"x ##DATE", "\r\n", "Variable not found: DATE"},
                    // An argument's variable is looked up before anything is asked.
                    RunErrorCase{"a ##input('Cells', q)", "\r\n", "Variable not found: q"},
                    RunErrorCase{"a ##SELECT('Data format','LONG')\nb", "\r\n",
                                 "Error evaluating expression: SELECT"},
                    RunErrorCase{"set %x_1", "\r\n", "Variable not found: x_1"},
                    RunErrorCase{"##x=5", "\r\n", "Variable not found: 5"},
                    RunErrorCase{"a\n#ENDIF\nb", "a\r\r\n", "#ENDIF without matching #IF"},
                    RunErrorCase{"#IF %x == 5\na\n#ENDIF", "\r\n", "Variable not found: %x"}),
    kNameAfterScript);

INSTANTIATE_TEST_SUITE_P(
    Branches, SendLineTest,
    testing::Values(
        SendCase{"#IF x == 'on'\nA\n#ELSE\nB\n#ENDIF\nC", "A\rC\r"},
        SendCase{"#if n == 05\nA\n#ELSE\nB\n#ENDIF", "B\r"},
        SendCase{"#IF x != 'on'\nA\n#ENDIF\nB", "B\r"},
        // #ELSE and #ENDIF ignore their parameters.
        SendCase{"#IF x != 'on'\nA\n#ELSE junk\nB\n#ENDIF x y\nC", "B\rC\r"},
        SendCase{"#IF 'x' == x\nA\n#ENDIF", ""},
        // Conditions inside code that does not run are never evaluated.
        SendCase{"#IF x == 'OFF'\n#IF nope == 1\nA\n#ELSEIF nope2 == 1\n#ENDIF\nB\n#ELSE\nC\n"
                 "#ENDIF",
                 "C\r"},
        SendCase{"#IF x == 'ON'\nA\n#ELSEIF nope == 1\nB\n#ELSE\nC\n#ENDIF\nD", "A\rD\r"},
        SendCase{"#IF x == 'X'\nA\n#ELSEIF x == 'ON'\nB\n#ELSEIF x == 'ON'\nC\n#ELSE\nD\n"
                 "#ENDIF",
                 "B\r"},
        SendCase{"#IF x == 'X'\nA\n#ELSEIF x == 'Y'\nB\n#ELSE\nC\n#ENDIF", "C\r"},
        SendCase{"#IF 1 == 1\n#IF 2 == 3\nA\n#ELSE\nB\n#ENDIF\nC\n#ENDIF\nD", "B\rC\rD\r"},
        // An open #IF at the end is accepted.
        SendCase{"#IF x == 'ON'\nA", "A\r"},
        // A stray #ELSE acts on the outermost frame and skips the rest without a message.
        SendCase{"A\n#ELSE\nB\n#ELSEIF 1 == 1\nC", "A\r"}),
    kNameAfterScript);

// A non-quiet empty script sends nothing, a quiet run never opens the window, and a cancel asked
// outside a run is forgotten.
TEST_F(EngineTest, WindowIsShownOnlyForMoreThanOneStatement) {
    engine.RequestCancel();
    EXPECT_FALSE(engine.IsCancelRequested());
    EXPECT_NE(engine.Run("\r\n// nothing\r\n", false), 0);
    EXPECT_EQ(Received(), "");
    engine.Run("one", false);
    EXPECT_EQ(ui.scriptWindowsOpened, 2);
    EXPECT_EQ(ui.scriptWindowsShown, 0);
    EXPECT_NE(engine.Run("one\ntwo", false), 0);
    engine.Run("one\ntwo", true);
    EXPECT_NE(engine.Run("nc 20", true), 0);
    EXPECT_EQ(Received(), "one\rone\rtwo\rone\rtwo\rnc 20\r");
    EXPECT_EQ(ui.scriptWindowsOpened, 3);
    EXPECT_EQ(ui.scriptWindowsShown, 1);
    EXPECT_EQ(ui.scriptWindowsOpen, 0);
}

// Non-quiet runs hold the link and pump messages during its waits; quiet ones do neither.
TEST_F(EngineTest, NonQuietRunHoldsTheLinkAndPumpsDuringItsWaits) {
    engine.Run("abc", false);
    EXPECT_GE(ui.pumpedMs, 400);
    EXPECT_FALSE(line.link.Waits().IsLeased());

    const int pumped = ui.pumpedMs;
    engine.Run("abc", true);
    EXPECT_EQ(ui.pumpedMs, pumped + 1);  // only the dispatch before the statement
}

}  // namespace
}  // namespace brennix::test
