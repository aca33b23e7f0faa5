#include "script/script_compiler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brennix {

void PrintTo(const ScriptError& error, std::ostream* out) {
    *out << error.message << "|" << error.detail1.value_or("-") << "|"
         << error.detail2.value_or("-");
}

namespace {

using Lines = std::vector<std::string>;

struct SplitCase {
    const char* text;
    Lines lines;
};

class SplitLinesTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitLinesTest, CutsCommentsAndKeepsBlankLines) {
    EXPECT_EQ(ScriptCompiler::SplitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitLinesTest,
    testing::Values(SplitCase{"abc // note", {"abc"}}, SplitCase{"// note\r\nx", {"x"}},
                    SplitCase{"  \t ", {""}}, SplitCase{"a\r\n\r\n\n\rb\n", {"a", "b"}},
                    SplitCase{"", {}}, SplitCase{"\r\n\r\n", {}},
                    // The marker is found inside quotes too.
                    SplitCase{"say \"http://x\"", {"say \"http:"}},
                    SplitCase{"   // only a comment  ", {}},
                    SplitCase{"\tcy\n#WAIT_PROMPT 5\n cy x", {"cy", "#WAIT_PROMPT 5", "cy x"}}));

CompiledScript Compile(const std::string& text) {
    return ScriptCompiler().Compile(text);
}

ArgToken Lit(const char* text) {
    return ArgToken::Literal(text);
}
ArgToken Var(const char* text) {
    return ArgToken::Variable(text);
}

struct DirectiveCase {
    const char* line;
    const char* name;
    std::vector<ArgToken> arguments;
};

class DirectiveGrammarTest : public testing::TestWithParam<DirectiveCase> {};

TEST_P(DirectiveGrammarTest, ParsesNameAndTokens) {
    const CompiledScript script = Compile(GetParam().line);
    ASSERT_TRUE(script.errors.empty()) << script.errors.front().message;
    ASSERT_EQ(script.statements.size(), 1u);
    EXPECT_EQ(script.statements[0].name, GetParam().name);
    EXPECT_EQ(script.statements[0].arguments, GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, DirectiveGrammarTest,
    testing::Values(DirectiveCase{"#WAIT_PROMPT 5", "WAIT_PROMPT", {Lit("5")}},
                    DirectiveCase{"#sendbreak", "SENDBREAK", {}},
                    DirectiveCase{"#  Wait", "WAIT", {}},
                    DirectiveCase{"#MSGBOX 'Sensor check'", "MSGBOX", {Lit("Sensor check")}},
                    DirectiveCase{"#MSGBOX Sensor", "MSGBOX", {Var("Sensor")}},
                    DirectiveCase{"#MSGBOX \"it's\"", "MSGBOX", {Lit("it's")}},
                    DirectiveCase{"#RUNSCRIPT setup.cmd", "RUNSCRIPT", {Var("setup.cmd")}},
                    DirectiveCase{"#WAIT(3", "WAIT", {Lit("3")}},
                    DirectiveCase{"#X a,, b ,c", "X", {Var("a"), Var("b"), Var("c")}},
                    // '=' and '!' make a literal only when a separator ends the parameter.
                    DirectiveCase{"#X =a !b =c", "X", {Lit("=a"), Lit("!b"), Var("=c")}},
                    // An unbalanced single quote makes the rest of the line one parameter.
                    DirectiveCase{"#X 'a b, c", "X", {Var("'a b, c")}},
                    DirectiveCase{"#IF x == 5", "IF", {Var("x"), Lit("=="), Lit("5")}},
                    DirectiveCase{"#if x==5", "IF", {Var("x"), Lit("=="), Lit("5")}},
                    DirectiveCase{"#IF ==''", "IF", {Lit(""), Lit("=="), Lit("")}},
                    DirectiveCase{
                        "#ELSEIF 'a b'!=%x", "ELSEIF", {Lit("a b"), Lit("!="), Var("%x")}},
                    DirectiveCase{"#IF x '==' y", "IF", {Var("x"), Lit("=="), Var("y")}}));

struct ErrorCase {
    std::string text;
    ScriptError error;
    bool compiles;  // the error leaves the line out but the script still compiles
};

class CompileErrorTest : public testing::TestWithParam<ErrorCase> {};

TEST_P(CompileErrorTest, ReportsTheError) {
    const CompiledScript script = Compile(GetParam().text);
    ASSERT_EQ(script.errors.size(), 1u);
    EXPECT_EQ(script.errors[0], GetParam().error);
    EXPECT_EQ(script.ok, GetParam().compiles);
    if (!script.ok) {
        EXPECT_TRUE(script.statements.empty());
    }
}

const std::string kLongName(129, 'n');

INSTANTIATE_TEST_SUITE_P(
    Errors, CompileErrorTest,
    testing::Values(
        ErrorCase{"a\n#MSGBOX('Hi')\nb", {"Syntax error ')'"}, true},
        ErrorCase{"#MSGBOX \"Hi", {"Unterminated string"}, true},
        ErrorCase{"a\n#DIALOG\nx=input('a')", {"Unclosed #DIALOG block"}, false},
        ErrorCase{"a\n#IF x = 5\n#ENDIF", {"Invalid syntax in #IF statement"}, false},
        ErrorCase{"#IF x", {"Invalid syntax in #IF statement"}, false},
        ErrorCase{"#IF x == 5 6", {"Invalid syntax in #IF statement"}, false},
        ErrorCase{
            "#IF 1 == 1\n#ELSEIF a b c\n#ENDIF", {"Invalid syntax in #ELSEIF statement"}, false},
        ErrorCase{"#IF 1\n#IF y\n#ENDIF\n#ENDIF", {"Invalid syntax in #IF statement"}, false},
        ErrorCase{"##x = 5", {"Invalid expression '", "x = 5", "'"}, false},
        ErrorCase{"set ##x more", {"Invalid expression '", "x more", "'"}, false},
        ErrorCase{"##x=my_var", {"Invalid function name:", "my_var"}, false},
        ErrorCase{"cb ##input('Cell begin',%x)",
                  {"Invalid parameter name", "input('Cell begin',%x)"},
                  false},
        ErrorCase{"set %" + kLongName + " x", {"Too long variable name:", kLongName + " x"}, false},
        ErrorCase{"#DIALOG\nx = 1\n#ENDDIALOG", {"Invalid expression '", "x = 1", "'"}, false}));

TEST(CompileErrorTest, DirectiveLineErrorsAreAllCollectedInOrder) {
    const CompiledScript script = Compile("#A x)\nx\n#B \"y\n#C");
    EXPECT_TRUE(script.ok);
    ASSERT_EQ(script.errors.size(), 2u);
    EXPECT_EQ(script.errors[0].message, "Syntax error ')'");
    EXPECT_EQ(script.errors[1].message, "Unterminated string");
    ASSERT_EQ(script.statements.size(), 2u);
    EXPECT_EQ(script.statements[1].name, "C");
}

TEST(CompileErrorTest, VariableNameOf128CharactersIsAccepted) {
    EXPECT_TRUE(Compile("set %" + std::string(128, 'n')).ok);
}

TEST(CompileErrorTest, LinesLongerThanTheEditorsPieceCompile) {
    const std::string line(5000, 'a');
    const CompiledScript script = Compile(line + "%v " + line);
    ASSERT_TRUE(script.ok);
    ASSERT_EQ(script.statements[0].segments.size(), 3u);
    EXPECT_EQ(script.statements[0].segments[2].text.size(), 5001u);
}

// Segments as kind letters: T text, V variable, E expression, with their text.
std::string Describe(const std::vector<LineSegment>& segments) {
    std::string out;
    for (const LineSegment& segment : segments) {
        switch (segment.kind) {
            case SegmentKind::kText:
                out += "T[" + segment.text + "]";
                break;
            case SegmentKind::kVariable:
                out += "V[" + segment.text + "]";
                break;
            case SegmentKind::kExpression: {
                const ScriptExpression& e = segment.expression;
                out += "E[" + (e.isAssignment ? e.target + "=" : std::string());
                out += "k" + std::to_string(static_cast<int>(e.term.kind)) + ":" + e.term.text;
                for (const ArgToken& a : e.term.arguments) {
                    out += (a.isVariable ? ",v:" : ",l:") + a.text;
                }
                out += "]";
                break;
            }
        }
    }
    return out;
}

struct SegmentCase {
    const char* line;
    const char* segments;
};

class SendLineSegmentsTest : public testing::TestWithParam<SegmentCase> {};

TEST_P(SendLineSegmentsTest, SplitsTheLine) {
    const CompiledScript script = Compile(GetParam().line);
    ASSERT_TRUE(script.ok);
    ASSERT_EQ(script.statements.size(), 1u);
    EXPECT_EQ(script.statements[0].kind, StatementKind::kSendLine);
    EXPECT_EQ(Describe(script.statements[0].segments), GetParam().segments);
}

INSTANTIATE_TEST_SUITE_P(
    Segments, SendLineSegmentsTest,
    testing::Values(SegmentCase{"show conf", "T[show conf]"},
                    // The character after a reference is not examined.
                    SegmentCase{"set %x%y", "T[set ]V[x]T[%y]"},
                    SegmentCase{"a \"%x\" b", "T[a \"%x\" b]"},
                    SegmentCase{"load 50%", "T[load 50]V[]"}, SegmentCase{"%a_1.b", "V[a_1]T[.b]"},
                    SegmentCase{"cb ##input('Cell begin')", "T[cb ]E[k2:input,l:Cell begin]"},

                    SegmentCase{"##DATE", "E[k0:DATE]"},
                    SegmentCase{"##n=input('Cells')", "E[n=k2:input,l:Cells]"},
                    SegmentCase{"##x=5", "E[x=k0:5]"}, SegmentCase{"##x='y'", "E[x=k0:y]"},
                    SegmentCase{"##v=", "E[v=k1:]"}, SegmentCase{"##()", "E[k2:input]"},
                    SegmentCase{"a ##f(,b, 7 ,'',c d)", "T[a ]E[k2:f,l:,v:b,l:7,l:,v:c d]"},
                    SegmentCase{"##f(x,)", "E[k2:f,v:x]"},
                    SegmentCase{"cy ##select('Coord system','BEAM','XYZ','ENU')",
                                "T[cy ]E[k2:select,l:Coord system,l:BEAM,l:XYZ,l:ENU]"},
                    SegmentCase{"##input('(a),b')", "E[k2:input,l:(a),b]"},
                    SegmentCase{"##x=\"a b\"", "E[x=k1:a b]"}));

TEST(DialogBlockTest, CollectsItemsUpToEndDialogInAnyCase) {
    const CompiledScript script = Compile(
        "#DIALOG title\ncells=input('Number of cells','10')\nmode=ON\n#enddialog\nnc %cells");
    ASSERT_TRUE(script.ok);
    ASSERT_EQ(script.statements.size(), 2u);
    const ScriptStatement& block = script.statements[0];
    EXPECT_EQ(block.kind, StatementKind::kDialogBlock);
    ASSERT_EQ(block.dialogItems.size(), 2u);
    EXPECT_EQ(block.dialogItems[0].target, "cells");
    EXPECT_EQ(block.dialogItems[0].term.kind, TermKind::kFunctionCall);
    EXPECT_EQ(block.dialogItems[1].term.kind, TermKind::kVariable);
    EXPECT_EQ(block.dialogItems[1].term.text, "ON");
}

TEST(ConditionalTest, ElseAndEndIfIgnoreTheirParameters) {
    const CompiledScript script = Compile("#IF a != 'b'\n#ELSE junk\n#ENDIF x y");
    ASSERT_TRUE(script.ok);
    ASSERT_EQ(script.statements.size(), 3u);
    EXPECT_EQ(script.statements[0].condition.op, ConditionOperator::kNotEqual);
    EXPECT_EQ(script.statements[0].condition.right, Lit("b"));
    EXPECT_EQ(script.statements[2].conditional, ConditionalKind::kEndIf);
}

}  // namespace
}  // namespace brennix
