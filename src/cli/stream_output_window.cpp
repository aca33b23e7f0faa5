#include "cli/stream_output_window.h"

#include <cstring>
#include <string>

#include "cli/console_line_reader.h"

namespace brennix::cli {

StreamOutputWindow::StreamOutputWindow(std::FILE* stream, Mode mode, ConsoleLineReader* reader)
    : stream_(stream), mode_(mode), reader_(reader) {}

// Text ends at a NUL, as in the log. CR LF, a lone CR and a lone LF each become one line break.
void StreamOutputWindow::Append(const uint8_t* bytes, size_t length) {
    const void* zero = std::memchr(bytes, 0, length);
    const size_t shown =
        zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : length;
    if (shown == 0) {
        return;
    }
    const char* lineBreak = mode_ == Mode::kTerminal ? "\r\n" : "\n";
    std::string text;
    text.reserve(shown + shown / 8);
    for (size_t at = 0; at < shown; ++at) {
        const char byte = static_cast<char>(bytes[at]);
        if (byte == '\r' || (byte == '\n' && !afterReturn_)) {
            text += lineBreak;
            lineSoFar_.clear();
            lineKept_ = true;
        } else if (byte != '\n') {
            text += byte;
            NoteShown(byte);
        }
        afterReturn_ = byte == '\r';
    }
    std::fwrite(text.data(), 1, text.size(), stream_);
    const char last = static_cast<char>(bytes[shown - 1]);
    atLineStart_ = last == '\n' || last == '\r';
    std::fflush(stream_);
    if (reader_ != nullptr) {
        reader_->OutputShown(lineSoFar_);
    }
}

// A line too long to stand before an edited line, or holding control characters, is not kept
// up to the next line break: a redrawn line then simply starts at the left edge.
void StreamOutputWindow::NoteShown(char byte) {
    constexpr size_t kLongestPrompt = 60;
    const auto value = static_cast<unsigned char>(byte);
    lineKept_ = lineKept_ && value >= 0x20 && value != 0x7F && lineSoFar_.size() < kLongestPrompt;
    if (lineKept_) {
        lineSoFar_ += byte;
    } else {
        lineSoFar_.clear();
    }
}

void StreamOutputWindow::Finish() {
    if (!atLineStart_) {
        std::fputs("\n", stream_);
        std::fflush(stream_);
        atLineStart_ = true;
    }
}

}  // namespace brennix::cli
