#include "sim/line_editor.h"

namespace brennix::sim {

std::optional<std::string> LineEditor::Take(uint8_t byte, std::string& echo) {
    switch (byte) {
        case '\n':
            return std::nullopt;
        case '\r': {
            // CR is echoed alone: the answer starts on the same line, where the host reads it.
            echo.push_back('\r');
            std::string line;
            line.swap(line_);
            return line;
        }
        case 0x08:
        case 0x7F:
            if (!line_.empty()) {
                line_.pop_back();
                echo.push_back(static_cast<char>(byte));
            }
            return std::nullopt;
        default:
            if (line_.size() < kMaxLineLength) {
                line_.push_back(static_cast<char>(byte));
                echo.push_back(static_cast<char>(byte));
            }
            return std::nullopt;
    }
}

void LineEditor::Clear() {
    line_.clear();
}

}  // namespace brennix::sim
