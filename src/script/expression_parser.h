#pragma once

#include <optional>
#include <string_view>

#include "script/script_types.h"

namespace brennix {

// Compiles one expression: the text after "##" in a send line, or a line of a dialog block.
class ExpressionParser {
  public:
    // On success `consumed` is the length of the expression: up to and including the ")" of a
    // function call, else the whole text.
    std::optional<ScriptError> Parse(std::string_view text, ScriptExpression& expression,
                                     size_t& consumed);

  private:
    std::optional<ScriptError> ParseTerm(std::string_view text, ExprTerm& term, size_t& consumed);
    std::optional<ScriptError> ParseFunctionCall(std::string_view text, size_t openParen,
                                                 ExprTerm& term, size_t& consumed);
    static ExprTerm PlainTerm(std::string_view text);
};

}  // namespace brennix
