#include "link/output_window.h"

#include <algorithm>

namespace brennix {

namespace {

constexpr uint8_t kBackspace = 0x08;
constexpr uint8_t kDelete = 0x7F;
constexpr uint8_t kShownAsBlank = 0x04;

}  // namespace

void TerminalPane::Append(const uint8_t* bytes, size_t length) {
    if (length == 0) {
        return;
    }
    size_t shown = TextLength();
    if (shown > kTrimAbove) {
        ReplaceRange(0, shown - kKeepAfterTrim, "");
        shown = TextLength();
    }
    std::string kept;
    size_t erasedFromPane = 0;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t byte = bytes[i];
        if (byte == kBackspace || byte == kDelete) {
            if (kept.empty()) {
                ++erasedFromPane;
            } else {
                kept.pop_back();
            }
        } else {
            kept.push_back(static_cast<char>(byte == kShownAsBlank ? ' ' : byte));
        }
    }
    kept.resize(std::min(kept.size(), kept.find('\0')));
    ReplaceRange(shown - std::min(erasedFromPane, shown), shown, kept);
}

void StringTerminalPane::ReplaceRange(size_t from, size_t to, const std::string& text) {
    text_.replace(from, to - from, text);
}

}  // namespace brennix
