#include <gtest/gtest.h>

#include "script/commands_table.h"
#include "script/engine_fixture.h"

namespace brennix::test {
namespace {

// Menu commands run quiet through the engine on a simulated instrument, as the terminal runs them.
class CommandsRunTest : public EngineTest {
  protected:
    int RunLabel(const char* label) {
        const CommandEntry* entry = CommandsTable::LabelLookup(label);
        EXPECT_NE(entry, nullptr) << label;
        return entry ? RunCommandsEntry(entry->Id(), engine) : 0;
    }
};

// A value command asks, then sends the value; the tab and the blank at the starts of
// CoordSystem's lines are trimmed by the engine.
TEST_F(CommandsRunTest, CommandsAreSentQuietlyWithTheirAnswers) {
    ui.inputAnswers = {{"5"}, {"XYZ"}};
    EXPECT_NE(RunLabel("Help System"), 0);
    EXPECT_NE(RunLabel("CellBegin"), 0);
    EXPECT_NE(RunLabel("CoordSystem"), 0);
    EXPECT_EQ(Received(), "Help System\rcb\rcb 5\rcy\rcy XYZ\r");
    ASSERT_EQ(ui.inputs.size(), 2u);
    EXPECT_EQ(ui.inputs[0].rows[0].arguments, (std::vector<std::string>{"Cell begin", ""}));
    EXPECT_EQ(ui.inputs[1].rows[0].kind, InputKind::kSelect);
    EXPECT_EQ(ui.scriptWindowsOpened, 0);
}

TEST_F(CommandsRunTest, CancelledValueSendsOnlyTheBareCommand) {
    EXPECT_EQ(RunLabel("ProfilingMode"), 0);
    EXPECT_EQ(Received(), "pm\r\r\n");
    EXPECT_TRUE(Shows(ErrorText("Error evaluating expression: check")));
}

// A group's title is no label of a command either.
TEST_F(CommandsRunTest, IdsOutsideTheTableAndGroupTitlesDoNothing) {
    EXPECT_EQ(CommandsTable::LabelLookup("Help"), nullptr);
    for (int id : {0, 1124, 1187, -1125, 1125, 1134, 1183}) {
        EXPECT_EQ(RunCommandsEntry(id, engine), 0) << id;
    }
    EXPECT_EQ(Received(), "");
    EXPECT_EQ(Terminal(), "");
}

}  // namespace
}  // namespace brennix::test
