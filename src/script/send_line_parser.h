#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/script_types.h"

namespace brennix {

// Splits a send line into text, variable references (%name) and expressions (##...).
class SendLineParser {
  public:
    static constexpr size_t kMaxVariableName = 128;

    std::optional<ScriptError> Parse(std::string_view line, std::vector<LineSegment>& segments);

  private:
    std::optional<ScriptError> ParseVariableReference();
    std::optional<ScriptError> ParseExpression();
    void FlushText();
    void TakeUnexaminedChar();

    std::string_view line_;
    size_t pos_ = 0;
    std::string text_;
    std::vector<LineSegment>* segments_ = nullptr;
};

}  // namespace brennix
