#include "cli/stream_output_window.h"

#include <cstring>
#include <string>

#include "cli/console_line_reader.h"

namespace brennix::cli {

StreamOutputWindow::StreamOutputWindow(std::FILE* stream, Mode mode, ConsoleLineReader* reader)
    : stream_(stream), mode_(mode), reader_(reader) {}

// Text ends at a NUL, as in the log. CR LF, a lone CR and a lone LF each become one CR LF, which
// also starts a new line while a line editor holds the terminal in its raw mode.
void StreamOutputWindow::Append(const uint8_t* bytes, size_t length) {
    const void* zero = std::memchr(bytes, 0, length);
    const size_t shown =
        zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : length;
    if (shown == 0) {
        return;
    }
    if (mode_ == Mode::kRaw) {
        std::fwrite(bytes, 1, shown, stream_);
    } else {
        std::string text;
        text.reserve(shown + shown / 8);
        for (size_t at = 0; at < shown; ++at) {
            const char byte = static_cast<char>(bytes[at]);
            if (byte == '\r' || (byte == '\n' && !afterReturn_)) {
                text += "\r\n";
            } else if (byte != '\n') {
                text += byte;
            }
            afterReturn_ = byte == '\r';
        }
        std::fwrite(text.data(), 1, text.size(), stream_);
    }
    const char last = static_cast<char>(bytes[shown - 1]);
    atLineStart_ = last == '\n' || (mode_ == Mode::kTerminal && last == '\r');
    std::fflush(stream_);
    if (reader_ != nullptr) {
        reader_->OutputShown();
    }
}

void StreamOutputWindow::Finish() {
    if (mode_ == Mode::kTerminal && !atLineStart_) {
        std::fputs("\n", stream_);
        std::fflush(stream_);
        atLineStart_ = true;
    }
}

}  // namespace brennix::cli
