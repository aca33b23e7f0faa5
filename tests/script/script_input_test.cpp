#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_fixture.h"

namespace brennix::test {
namespace {

struct InputCase {
    const char* script;
    std::vector<std::string> answer;
    const char* received;
    InputKind kind;
    std::vector<std::string> arguments;
};

class InputFunctionTest : public EngineTest, public testing::WithParamInterface<InputCase> {};

TEST_P(InputFunctionTest, AsksOneRowAndSendsTheAnswer) {
    engine.SetVariable("x", "7");
    ui.inputAnswers.push_back(GetParam().answer);
    EXPECT_NE(engine.Run(GetParam().script, true), 0) << Terminal();
    EXPECT_EQ(Received(), GetParam().received);
    ASSERT_EQ(ui.inputs.size(), 1u);
    ASSERT_EQ(ui.inputs[0].rows.size(), 1u);
    EXPECT_EQ(ui.inputs[0].rows[0].kind, GetParam().kind);
    EXPECT_EQ(ui.inputs[0].rows[0].arguments, GetParam().arguments);
}

using Args = std::vector<std::string>;

// Missing arguments are asked as empty; x holds "7", a trailing empty argument is dropped.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Functions, InputFunctionTest,
    testing::Values(
        InputCase{"cb ##input('Cell begin')", {"5"}, "cb 5\r", InputKind::kInput, Args{"Cell begin", ""}},
        InputCase{"cb ##input('Cell begin',x) m", {"8"}, "cb 8 m\r", InputKind::kInput, Args{"Cell begin", "7"}},
        InputCase{"##()", {"a"}, "a\r", InputKind::kInput, Args{"", ""}},
        InputCase{"##input('(a),b')", {"a"}, "a\r", InputKind::kInput, Args{"(a),b", ""}},
        InputCase{"df ##select('Data format','LONG','SHORT')", {"SHORT"}, "df SHORT\r", InputKind::kSelect,
                  Args{"Data format", "LONG", "SHORT"}},
        InputCase{"s ##SELECT(,x, 7 ,'',)", {"7"}, "s 7\r", InputKind::kSelect, Args{"", "7", "7", ""}},
        InputCase{"AutoSleep ##check('Auto sleep','ON','ON','OFF')", {"OFF"}, "AutoSleep OFF\r",
                  InputKind::kCheck, Args{"Auto sleep", "ON", "ON", "OFF"}},
        InputCase{"c ##Check('x')", {""}, "c \r", InputKind::kCheck, Args{"x", "", "", ""}},
        InputCase{"##n=input('Cells')\nnc %n", {"9"}, "9\rnc 9\r", InputKind::kInput, Args{"Cells", ""}}),
    kNameAfterScript);
// clang-format on

constexpr const char* kDialogScript =
    "#DIALOG\n"
    "cells=input('Number of cells','10')\n"
    "mode=ON\n"
    "fmt=select('Data format','LONG','SHORT', mode)\n"
    "input('Dropped')\n"
    "#enddialog\n"
    "nc %cells\n"
    "#IF fmt == 'SHORT'\n"
    "df SHORT\n"
    "#ELSE\n"
    "df LONG\n"
    "#ENDIF";

// An item naming a missing variable stops the run before the dialog. Plain items are evaluated
// while the dialog is built, so mode then holds ON's value. Cancelled, the dialog stops the run
// silently and assigns nothing.
TEST_F(EngineTest, DialogBlockAsksAllRowsInOneDialogAndAssignsOnlyAfterOk) {
    EXPECT_EQ(engine.Run(kDialogScript, true), 0);
    EXPECT_EQ(Terminal(), "\r\nERROR: Variable not found: ON");
    EXPECT_TRUE(ui.inputs.empty());
    line.terminal.SetText("");
    engine.SetVariable("ON", "yes");
    EXPECT_EQ(engine.Run(kDialogScript, true), 0);
    EXPECT_EQ(Terminal(), "");
    EXPECT_FALSE(engine.FindVariable("cells"));
    ui.inputAnswers.push_back({"20", "SHORT", "ignored"});
    EXPECT_NE(engine.Run(kDialogScript, true), 0) << Terminal();
    EXPECT_EQ(Received(), "\r\nnc 20\rdf SHORT\r");
    ASSERT_EQ(ui.inputs.size(), 2u);
    const auto& rows = ui.inputs[1].rows;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].arguments, (Args{"Number of cells", "10"}));
    EXPECT_EQ(rows[1].arguments, (Args{"Data format", "LONG", "SHORT", "yes"}));
    EXPECT_EQ(rows[2].arguments, (Args{"Dropped", ""}));
    EXPECT_EQ(engine.FindVariable("mode"), "yes");
    EXPECT_EQ(engine.FindVariable("fmt"), "SHORT");
}

TEST_F(EngineTest, StopWhileTheDialogIsBuiltCancels) {
    engine.RegisterFunction(
        "STOPNOW", [this](CInstrument*, const std::string&, const std::vector<std::string>&,
                          std::string&, bool&) {
            engine.RequestCancel();
            return 1;
        });
    EXPECT_EQ(engine.Run("#DIALOG\ns=STOPNOW()\nx=input('x')\n#ENDDIALOG", false), 0);
    EXPECT_EQ(Terminal(), "\r\nERROR: Execution cancelled! (line 1)");
    EXPECT_TRUE(ui.inputs.empty());
}

}  // namespace
}  // namespace brennix::test
