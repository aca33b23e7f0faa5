#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/script_types.h"

namespace brennix {

struct DirectiveLine {
    std::string name;  // upper case
    std::vector<ArgToken> arguments;
};

// Parses the text of a directive line after its leading '#': the name and its parameters.
class DirectiveLineParser {
  public:
    // Returns the error ("Syntax error ')'", "Unterminated string") when the line cannot be parsed;
    // the name is parsed all the same.
    std::optional<ScriptError> Parse(std::string_view text, DirectiveLine& line);

  private:
    std::string ParseName();
    std::optional<ScriptError> ParseParameters(std::vector<ArgToken>& tokens);
    bool TakeQuote(char c);
    bool IsQuoted() const { return doubleQuoted_ || singleQuoted_; }
    bool IsConditionOperatorAt(size_t pos) const;
    void FinishParameter(std::string& parameter, bool endedBySeparator,
                         std::vector<ArgToken>& tokens) const;
    void FinishLeftOperand(std::string& parameter, std::vector<ArgToken>& tokens) const;

    std::string_view text_;
    size_t pos_ = 0;
    bool doubleQuoted_ = false;
    bool singleQuoted_ = false;
    bool isCondition_ = false;
};

}  // namespace brennix
