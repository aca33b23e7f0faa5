#include "script/script_compiler.h"

#include "script/expression_parser.h"
#include "script/script_text.h"
#include "script/send_line_parser.h"

namespace brennix {

namespace {

constexpr std::string_view kCommentMarker = "//";
constexpr std::string_view kEndDialog = "#ENDDIALOG";

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

bool IsDirectiveLine(std::string_view line) {
    return !line.empty() && line.front() == '#' && line.substr(0, 2) != "##";
}

std::optional<ConditionalKind> ConditionalKindOf(const std::string& name) {
    if (name == "IF") {
        return ConditionalKind::kIf;
    }
    if (name == "ELSEIF") {
        return ConditionalKind::kElseIf;
    }
    if (name == "ELSE") {
        return ConditionalKind::kElse;
    }
    if (name == "ENDIF") {
        return ConditionalKind::kEndIf;
    }
    return std::nullopt;
}

}  // namespace

std::vector<ScriptLine> ScriptCompiler::SplitLines(std::string_view text) {
    std::vector<ScriptLine> lines;
    int number = 1;
    size_t pos = 0;
    while (pos < text.size()) {
        if (IsLineBreak(text[pos])) {
            // CR LF ends one line, as a lone CR or LF does.
            const bool pair = text.substr(pos, 2) == "\r\n";
            pos += pair ? 2 : 1;
            ++number;
            continue;
        }
        size_t end = pos;
        while (end < text.size() && !IsLineBreak(text[end])) {
            ++end;
        }
        std::string_view line = text.substr(pos, end - pos);
        pos = end;

        const size_t comment = line.find(kCommentMarker);
        const bool hadComment = comment != std::string_view::npos;
        if (hadComment) {
            line = line.substr(0, comment);
        }
        line = TrimWhiteSpace(line);
        if (line.empty() && hadComment) {
            continue;
        }
        lines.push_back({std::string(line), number});
    }
    return lines;
}

CompiledScript ScriptCompiler::Compile(std::string_view text) {
    result_ = CompiledScript{};
    const std::vector<ScriptLine> lines = SplitLines(text);
    result_.lineCount = lines.size();
    for (size_t index = 0; index < lines.size(); ++index) {
        line_ = lines[index].number;
        if (!CompileLine(lines, index)) {
            result_.ok = false;
            result_.statements.clear();
            break;
        }
    }
    return std::move(result_);
}

void ScriptCompiler::Add(ScriptStatement statement) {
    statement.line = line_;
    result_.statements.push_back(std::move(statement));
}

void ScriptCompiler::Report(ScriptError error) {
    error.line = line_;
    result_.errors.push_back(std::move(error));
}

bool ScriptCompiler::Fail(ScriptError error) {
    Report(std::move(error));
    return false;
}

// line := directive-line | send-line
// A directive line that cannot be parsed is reported and left out; compilation goes on.
// A conditional cannot be left out so: the branches around it would run as they should not.
bool ScriptCompiler::CompileLine(const std::vector<ScriptLine>& lines, size_t& index) {
    const std::string& line = lines[index].text;
    if (!IsDirectiveLine(line)) {
        return CompileSendLine(line);
    }

    DirectiveLine directive;
    if (auto error = DirectiveLineParser().Parse(std::string_view(line).substr(1), directive)) {
        if (ConditionalKindOf(directive.name)) {
            return Fail(std::move(*error));
        }
        Report(std::move(*error));
        return true;
    }
    return CompileDirective(directive, lines, index);
}

bool ScriptCompiler::CompileDirective(const DirectiveLine& directive,
                                      const std::vector<ScriptLine>& lines, size_t& index) {
    if (directive.name == "DIALOG") {
        return CompileDialogBlock(lines, index);
    }
    if (ConditionalKindOf(directive.name)) {
        return CompileConditional(directive);
    }

    ScriptStatement statement;
    statement.kind = StatementKind::kDirective;
    statement.name = directive.name;
    statement.arguments = directive.arguments;
    Add(std::move(statement));
    return true;
}

// condition := operand ( "==" | "!=" ) operand      (checked for #IF and #ELSEIF only)
bool ScriptCompiler::CompileConditional(const DirectiveLine& directive) {
    ScriptStatement statement;
    statement.kind = StatementKind::kConditional;
    statement.name = directive.name;
    statement.arguments = directive.arguments;
    statement.conditional = *ConditionalKindOf(directive.name);

    if (statement.conditional == ConditionalKind::kIf ||
        statement.conditional == ConditionalKind::kElseIf) {
        const auto& tokens = directive.arguments;
        const bool valid = tokens.size() == 3 && !tokens[1].isVariable &&
                           (tokens[1].text == "==" || tokens[1].text == "!=");
        if (!valid) {
            return Fail({"Invalid syntax in #" + directive.name + " statement"});
        }
        statement.condition.op =
            tokens[1].text == "==" ? ConditionOperator::kEqual : ConditionOperator::kNotEqual;
        statement.condition.left = tokens[0];
        statement.condition.right = tokens[2];
    }
    Add(std::move(statement));
    return true;
}

// dialog-block := "#DIALOG" { expression-line } "#ENDDIALOG"
// An item's error names the item's line; an unclosed block the #DIALOG line.
bool ScriptCompiler::CompileDialogBlock(const std::vector<ScriptLine>& lines, size_t& index) {
    ScriptStatement statement;
    statement.kind = StatementKind::kDialogBlock;
    const int opening = line_;
    for (size_t item = index + 1; item < lines.size(); ++item) {
        if (EqualsIgnoreCase(lines[item].text, kEndDialog)) {
            line_ = opening;
            Add(std::move(statement));
            index = item;
            return true;
        }
        ScriptExpression expression;
        size_t consumed = 0;
        if (auto error = ExpressionParser().Parse(lines[item].text, expression, consumed)) {
            line_ = lines[item].number;
            return Fail(std::move(*error));
        }
        statement.dialogItems.push_back(std::move(expression));
    }
    return Fail({"Unclosed #DIALOG block"});
}

bool ScriptCompiler::CompileSendLine(const std::string& line) {
    ScriptStatement statement;
    statement.kind = StatementKind::kSendLine;
    if (auto error = SendLineParser().Parse(line, statement.segments)) {
        return Fail(std::move(*error));
    }
    Add(std::move(statement));
    return true;
}

}  // namespace brennix
