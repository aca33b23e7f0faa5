#include "script/send_line_parser.h"

#include "script/expression_parser.h"
#include "script/script_text.h"

namespace brennix {

// send-line := { text | "%" name | "##" expression }
// Inside double quotes nothing is special; the quotes themselves are sent.
std::optional<ScriptError> SendLineParser::Parse(std::string_view line,
                                                 std::vector<LineSegment>& segments) {
    line_ = line;
    pos_ = 0;
    text_.clear();
    segments_ = &segments;
    bool quoted = false;
    while (pos_ < line_.size()) {
        const char c = line_[pos_];
        std::optional<ScriptError> error;
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == '%') {
            error = ParseVariableReference();
            if (!error) {
                continue;
            }
        } else if (!quoted && line_.substr(pos_, 2) == "##") {
            error = ParseExpression();
            if (!error) {
                continue;
            }
        }
        if (error) {
            return error;
        }
        text_ += c;
        ++pos_;
    }
    FlushText();
    return std::nullopt;
}

// reference := "%" { letter | digit | "_" }     (the name may be empty)
std::optional<ScriptError> SendLineParser::ParseVariableReference() {
    FlushText();
    const size_t start = pos_ + 1;
    size_t end = start;
    while (end < line_.size() && IsNameChar(line_[end])) {
        ++end;
    }
    if (end - start > kMaxVariableName) {
        return ScriptError{"Too long variable name:", std::string(line_.substr(start))};
    }
    LineSegment segment;
    segment.kind = SegmentKind::kVariable;
    segment.text = std::string(line_.substr(start, end - start));
    segments_->push_back(std::move(segment));
    pos_ = end;
    TakeUnexaminedChar();
    return std::nullopt;
}

// "##" expression, ending after the ")" of a function call or at the end of the line
std::optional<ScriptError> SendLineParser::ParseExpression() {
    FlushText();
    LineSegment segment;
    segment.kind = SegmentKind::kExpression;
    size_t consumed = 0;
    const size_t start = pos_ + 2;
    if (auto error = ExpressionParser().Parse(line_.substr(start), segment.expression, consumed)) {
        return error;
    }
    segments_->push_back(std::move(segment));
    pos_ = start + consumed;
    TakeUnexaminedChar();
    return std::nullopt;
}

// The character right after a reference or expression goes to the next text as it is: a "%",
// "##" or quote there has no effect.
void SendLineParser::TakeUnexaminedChar() {
    if (pos_ < line_.size()) {
        text_ += line_[pos_++];
    }
}

void SendLineParser::FlushText() {
    if (text_.empty()) {
        return;
    }
    LineSegment segment;
    segment.kind = SegmentKind::kText;
    segment.text = std::move(text_);
    segments_->push_back(std::move(segment));
    text_.clear();
}

}  // namespace brennix
