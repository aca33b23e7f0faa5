#include "script/script_compiler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brennix {

namespace {

constexpr auto Lit = &ArgToken::Literal;
constexpr auto Var = &ArgToken::Variable;

struct DirectiveCase {
    const char* script;
    const char* name;
    std::vector<ArgToken> arguments;
};

TEST(DirectiveGrammar, ParsesNameAndTokens) {
    for (const DirectiveCase& c :
         {DirectiveCase{"#WAIT_PROMPT 5", "WAIT_PROMPT", {Lit("5")}},
          DirectiveCase{"#  Wait", "WAIT", {}},
          DirectiveCase{"#MSGBOX Sensor", "MSGBOX", {Var("Sensor")}},
          DirectiveCase{"#MSGBOX \"it's\"", "MSGBOX", {Lit("it's")}},
          DirectiveCase{"#WAIT(3", "WAIT", {Lit("3")}},
          DirectiveCase{"#X a,, b ,c", "X", {Var("a"), Var("b"), Var("c")}},
          // '=' and '!' make a literal only when a separator ends the parameter.
          DirectiveCase{"#X =a !b =c", "X", {Lit("=a"), Lit("!b"), Var("=c")}},
          // An unbalanced single quote makes the rest of the line one parameter.
          DirectiveCase{"#X 'a b, c", "X", {Var("'a b, c")}},
          DirectiveCase{"#IF x == 5", "IF", {Var("x"), Lit("=="), Lit("5")}},
          DirectiveCase{"#if x==5", "IF", {Var("x"), Lit("=="), Lit("5")}},
          DirectiveCase{"#IF ==''", "IF", {Lit(""), Lit("=="), Lit("")}},
          DirectiveCase{"#ELSEIF 'a b'!=%x", "ELSEIF", {Lit("a b"), Lit("!="), Var("%x")}},
          DirectiveCase{"#IF x '==' y", "IF", {Var("x"), Lit("=="), Var("y")}}}) {
        const CompiledScript script = ScriptCompiler().Compile(c.script);
        ASSERT_TRUE(script.errors.empty()) << script.errors.front().message;
        ASSERT_EQ(script.statements.size(), 1u) << c.script;
        EXPECT_EQ(script.statements[0].name, c.name) << c.script;
        EXPECT_EQ(script.statements[0].arguments, c.arguments) << c.script;
    }
}

// No line or segment limit below what the command editor reads.
TEST(CompilerTest, LinesLongerThanTheEditorsPieceCompile) {
    const std::string line(5000, 'a');
    const CompiledScript script = ScriptCompiler().Compile(line + "%v " + line);
    ASSERT_TRUE(script.ok);
    ASSERT_EQ(script.statements[0].segments.size(), 3u);
    EXPECT_EQ(script.statements[0].segments[2].text.size(), 5001u);
}

}  // namespace
}  // namespace brennix
