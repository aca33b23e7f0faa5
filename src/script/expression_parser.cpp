#include "script/expression_parser.h"

#include <string>

#include "script/script_text.h"

namespace brennix {

namespace {

constexpr std::string_view kDefaultFunction = "input";

std::string_view StripEnclosingQuotes(std::string_view text) {
    return IsEnclosedInQuotes(text) ? text.substr(1, text.size() - 2) : text;
}

bool IsArgumentChar(char c) {
    return IsAsciiLetterOrDigit(c) || IsBlank(c) || c == '_' || c == '.';
}

// argument := quoted-literal | digit-first-literal | variable-name | (empty)
ArgToken MakeArgument(std::string_view raw) {
    const std::string_view text = TrimWhiteSpace(raw);
    if (IsEnclosedInQuotes(text)) {
        return ArgToken::Literal(std::string(StripEnclosingQuotes(text)));
    }
    if (text.empty() || IsAsciiDigit(text.front())) {
        return ArgToken::Literal(std::string(text));
    }
    return ArgToken::Variable(std::string(text));
}

}  // namespace

// expression := [ target "=" ] term        target := { letter | digit | "_" }
std::optional<ScriptError> ExpressionParser::Parse(std::string_view text,
                                                   ScriptExpression& expression, size_t& consumed) {
    size_t run = 0;
    while (run < text.size() && IsNameChar(text[run])) {
        ++run;
    }

    size_t termStart = 0;
    expression.isAssignment = false;
    expression.target.clear();
    if (run < text.size() && text[run] == '=') {
        expression.isAssignment = true;
        expression.target = std::string(text.substr(0, run));
        termStart = run + 1;
    } else if (run < text.size() && text[run] != '(') {
        return ScriptError{"Invalid expression '", std::string(text), "'"};
    }

    size_t termLength = 0;
    if (auto error = ParseTerm(text.substr(termStart), expression.term, termLength)) {
        return error;
    }
    consumed = termStart + termLength;
    return std::nullopt;
}

// term := function-call | literal | variable
// Before "(" only letters and digits may stand unquoted.
std::optional<ScriptError> ExpressionParser::ParseTerm(std::string_view text, ExprTerm& term,
                                                       size_t& consumed) {
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsQuote(c)) {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == '(') {
            return ParseFunctionCall(text, i, term, consumed);
        } else if (!IsAsciiLetterOrDigit(c)) {
            return ScriptError{"Invalid function name:", std::string(text)};
        }
    }
    term = PlainTerm(text);
    consumed = text.size();
    return std::nullopt;
}

// function-call := [ name ] "(" [ argument { "," argument } ] ")"
// An empty name calls input; arguments allow letters, digits, blanks, "_" and "." unquoted.
std::optional<ScriptError> ExpressionParser::ParseFunctionCall(std::string_view text,
                                                               size_t openParen, ExprTerm& term,
                                                               size_t& consumed) {
    term = ExprTerm{};
    term.kind = TermKind::kFunctionCall;
    term.text = std::string(StripEnclosingQuotes(TrimWhiteSpace(text.substr(0, openParen))));
    if (term.text.empty()) {
        term.text = std::string(kDefaultFunction);
    }

    std::string argument;
    bool quoted = false;
    size_t i = openParen + 1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsQuote(c)) {
            quoted = !quoted;
        } else if (!quoted && c == ',') {
            term.arguments.push_back(MakeArgument(argument));
            argument.clear();
            continue;
        } else if (!quoted && c == ')') {
            ++i;
            break;
        } else if (!quoted && !IsArgumentChar(c)) {
            return ScriptError{"Invalid parameter name", std::string(text)};
        }
        argument += c;
    }
    // An empty last argument is dropped, so "f()" has none.
    if (!TrimWhiteSpace(argument).empty()) {
        term.arguments.push_back(MakeArgument(argument));
    }
    consumed = i;
    return std::nullopt;
}

// A term without "(": a double-quoted literal, or the name of a variable.
ExprTerm ExpressionParser::PlainTerm(std::string_view text) {
    ExprTerm term;
    const std::string_view trimmed = TrimWhiteSpace(text);
    if (trimmed.empty() || text.front() == '"') {
        term.kind = TermKind::kLiteral;
        term.text = std::string(
            text.size() >= 2 && text.back() == '"' ? text.substr(1, text.size() - 2) : text);
        return term;
    }
    term.kind = TermKind::kVariable;
    term.text = std::string(StripEnclosingQuotes(trimmed));
    return term;
}

}  // namespace brennix
