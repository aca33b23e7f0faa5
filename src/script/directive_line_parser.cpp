#include "script/directive_line_parser.h"

#include "script/script_text.h"

namespace brennix {

namespace {

// parameter-token := quoted-literal | digit-first-literal | operator-literal | variable-name
ArgToken MakeToken(std::string_view parameter, bool endedBySeparator) {
    if (IsEnclosedInQuotes(parameter)) {
        return ArgToken::Literal(std::string(parameter.substr(1, parameter.size() - 2)));
    }
    const char first = parameter.front();
    if (IsAsciiDigit(first) || (endedBySeparator && (first == '=' || first == '!'))) {
        return ArgToken::Literal(std::string(parameter));
    }
    return ArgToken::Variable(std::string(parameter));
}

}  // namespace

// directive-line := name [ ( "(" | blank ) parameters ]
std::optional<ScriptError> DirectiveLineParser::Parse(std::string_view text, DirectiveLine& line) {
    text_ = text;
    pos_ = 0;
    doubleQuoted_ = false;
    singleQuoted_ = false;
    line.name = ParseName();
    line.arguments.clear();
    isCondition_ = line.name == "IF" || line.name == "ELSEIF";
    return ParseParameters(line.arguments);
}

// A double quote always toggles its state; a single quote only outside double quotes.
bool DirectiveLineParser::TakeQuote(char c) {
    if (c == '"') {
        doubleQuoted_ = !doubleQuoted_;
        return true;
    }
    if (c == '\'' && !doubleQuoted_) {
        singleQuoted_ = !singleQuoted_;
        return true;
    }
    return false;
}

// name := characters up to the first unquoted "(" or blank; blanks before the name are skipped
std::string DirectiveLineParser::ParseName() {
    std::string name;
    while (pos_ < text_.size()) {
        const char c = text_[pos_++];
        if (!TakeQuote(c) && !IsQuoted()) {
            if (c == '(') {
                break;
            }
            if (IsBlank(c)) {
                if (TrimWhiteSpace(name).empty()) {
                    continue;
                }
                break;
            }
        }
        name += c;
    }
    return ToUpperAscii(TrimWhiteSpace(name));
}

bool DirectiveLineParser::IsConditionOperatorAt(size_t pos) const {
    return isCondition_ && pos + 1 < text_.size() && (text_[pos] == '=' || text_[pos] == '!') &&
           text_[pos + 1] == '=';
}

// parameters := parameter { separator parameter }    separator := blank | ","
// In #IF and #ELSEIF, "==" and "!=" also end a parameter and are tokens of their own.
std::optional<ScriptError> DirectiveLineParser::ParseParameters(std::vector<ArgToken>& tokens) {
    std::string parameter;
    while (pos_ < text_.size()) {
        const size_t at = pos_++;
        const char c = text_[at];
        if (TakeQuote(c) || IsQuoted()) {
            parameter += c;
        } else if (c == ')') {
            return ScriptError{"Syntax error ')'"};
        } else if (IsBlank(c) || c == ',') {
            FinishParameter(parameter, true, tokens);
        } else if (IsConditionOperatorAt(at)) {
            FinishLeftOperand(parameter, tokens);
            tokens.push_back(ArgToken::Literal(std::string(text_.substr(at, 2))));
            ++pos_;
        } else {
            parameter += c;
        }
    }
    // A condition's open single quote would compare against the rest of the line, or look up a
    // variable named after it: it is as unterminated as a double quote anywhere.
    if (doubleQuoted_ || (isCondition_ && singleQuoted_)) {
        return ScriptError{"Unterminated string"};
    }
    FinishParameter(parameter, false, tokens);
    return std::nullopt;
}

void DirectiveLineParser::FinishParameter(std::string& parameter, bool endedBySeparator,
                                          std::vector<ArgToken>& tokens) const {
    const std::string_view trimmed = TrimWhiteSpace(parameter);
    if (!trimmed.empty()) {
        tokens.push_back(MakeToken(trimmed, endedBySeparator));
    }
    parameter.clear();
}

// The text before a condition operator; an operator with nothing before it gets an empty
// left operand.
void DirectiveLineParser::FinishLeftOperand(std::string& parameter,
                                            std::vector<ArgToken>& tokens) const {
    const std::string_view trimmed = TrimWhiteSpace(parameter);
    if (!trimmed.empty()) {
        tokens.push_back(MakeToken(trimmed, false));
    } else if (tokens.empty()) {
        tokens.push_back(ArgToken::Literal(""));
    }
    parameter.clear();
}

}  // namespace brennix
