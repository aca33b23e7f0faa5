#include <gtest/gtest.h>

#include "app/commands_table.h"
#include "instrument/instrument.h"
#include "script/script_engine.h"
#include "support/scripted_ui_host.h"
#include "support/sim_line.h"

namespace brennix::test {
namespace {

// Menu commands run through the engine on a simulated instrument, as the terminal runs them.
class CommandsRunTest : public testing::Test {
  protected:
    CommandsRunTest() : ui(line.clock), instrument(line.clock, ui), engine(ui, line.clock) {
        instrument.SetLink(&line.link);
        instrument.SetScriptEngine(&engine);
        engine.SetInstrument(&instrument);
    }

    int RunLabel(const char* label) {
        const CommandEntry* entry = CommandsTable::LabelLookup(label);
        EXPECT_NE(entry, nullptr) << label;
        return entry ? RunCommandsEntry(entry->Id(), engine) : 0;
    }

    SimLine line;
    ScriptedUiHost ui;
    CInstrument instrument;
    CScriptEngine engine;
};

TEST_F(CommandsRunTest, OneLineCommandIsSentAsItIs) {
    EXPECT_NE(RunLabel("Help System"), 0);
    EXPECT_EQ(line.instrument.Received(), "Help System\r");
    EXPECT_EQ(ui.scriptWindowsOpened, 0);
}

TEST_F(CommandsRunTest, ValueCommandAsksThenSendsTheValue) {
    ui.inputAnswers.push_back({"5"});
    EXPECT_NE(RunLabel("CellBegin"), 0);
    EXPECT_EQ(line.instrument.Received(), "cb\rcb 5\r");
    ASSERT_EQ(ui.inputs.size(), 1u);
    EXPECT_EQ(ui.inputs[0].rows[0].arguments, (std::vector<std::string>{"Cell begin", ""}));
}

// The tab and the blank at the starts of the lines are trimmed by the engine.
TEST_F(CommandsRunTest, CoordSystemSendsTheChoiceWithoutLeadingWhiteSpace) {
    ui.inputAnswers.push_back({"XYZ"});
    EXPECT_NE(RunLabel("CoordSystem"), 0);
    EXPECT_EQ(line.instrument.Received(), "cy\rcy XYZ\r");
    EXPECT_EQ(ui.inputs[0].rows[0].kind, InputKind::kSelect);
}

TEST_F(CommandsRunTest, CancelledValueSendsOnlyTheBareCommand) {
    EXPECT_EQ(RunLabel("ProfilingMode"), 0);
    EXPECT_EQ(line.instrument.Received(), "pm\r\r\n");
    EXPECT_NE(line.terminal.Text().find("\r\nERROR: Error evaluating expression: check"),
              std::string::npos);
}

}  // namespace
}  // namespace brennix::test
