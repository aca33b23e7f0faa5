#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brennix {

// A parameter of a directive, condition or function call: literal text, or a variable's name.
struct ArgToken {
    bool isVariable = false;
    std::string text;

    static ArgToken Literal(std::string text) { return {false, std::move(text)}; }
    static ArgToken Variable(std::string name) { return {true, std::move(name)}; }
    bool operator==(const ArgToken&) const = default;
};

enum class ConditionOperator { kEqual = 0, kNotEqual = 1 };

struct Condition {
    ConditionOperator op = ConditionOperator::kEqual;
    ArgToken left;
    ArgToken right;
};

enum class TermKind { kVariable = 0, kLiteral = 1, kFunctionCall = 2 };

// The value side of an expression. `text` is the variable name, the literal or the function name.
struct ExprTerm {
    TermKind kind = TermKind::kLiteral;
    std::string text;
    std::vector<ArgToken> arguments;
};

struct ScriptExpression {
    bool isAssignment = false;
    std::string target;
    ExprTerm term;
};

enum class SegmentKind { kVariable = 0, kText = 1, kExpression = 2 };

// One part of a send line. `text` is the literal text or the variable name.
struct LineSegment {
    SegmentKind kind = SegmentKind::kText;
    std::string text;
    ScriptExpression expression;
};

enum class StatementKind { kConditional = 0, kDirective = 1, kSendLine = 2, kDialogBlock = 3 };
enum class ConditionalKind { kIf = 0, kEndIf = 1, kElseIf = 2, kElse = 3 };

struct ScriptStatement {
    StatementKind kind = StatementKind::kSendLine;
    std::string name;                           // directives and conditionals, upper case
    std::vector<ArgToken> arguments;            // directives and conditionals
    std::vector<LineSegment> segments;          // send lines
    std::vector<ScriptExpression> dialogItems;  // dialog blocks
    ConditionalKind conditional = ConditionalKind::kIf;
    Condition condition;  // #IF and #ELSEIF
    int line = 0;         // where it stands in the text, from 1
};

// An error as ReportError prints it: the message and up to two details.
struct ScriptError {
    ScriptError(std::string text, std::optional<std::string> first = std::nullopt,
                std::optional<std::string> second = std::nullopt)
        : message(std::move(text)), detail1(std::move(first)), detail2(std::move(second)) {}

    std::string message;
    std::optional<std::string> detail1;
    std::optional<std::string> detail2;
    // The line of the text it was found in, from 1; 0 while not known.
    int line = 0;

    bool operator==(const ScriptError&) const = default;
};

}  // namespace brennix
