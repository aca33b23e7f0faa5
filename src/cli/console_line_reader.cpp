#include "cli/console_line_reader.h"

#include <optional>

#include "platform/console_input.h"

namespace brennix::cli {

ConsoleLineReader::Result ConsoleLineReader::ReadLine(std::string& line, uint32_t timeoutMs) {
    if (TakeLine(line)) {
        return Result::kLine;
    }
    if (!ended_ && Fill(timeoutMs) && TakeLine(line)) {
        return Result::kLine;
    }
    if (ended_ && !pending_.empty()) {
        line.swap(pending_);
        pending_.clear();
        return Result::kLine;
    }
    return ended_ ? Result::kEnd : Result::kTimeout;
}

bool ConsoleLineReader::TakeLine(std::string& line) {
    const size_t end = pending_.find('\n');
    if (end == std::string::npos) {
        return false;
    }
    line.assign(pending_, 0, end);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    pending_.erase(0, end + 1);
    return true;
}

bool ConsoleLineReader::Fill(uint32_t timeoutMs) {
    const ConsoleWait wait = WaitForConsoleInput(fd_, static_cast<int>(timeoutMs));
    std::optional<size_t> count;
    char chunk[4096];
    if (wait == ConsoleWait::kInput) {
        count = ReadConsoleBytes(fd_, chunk, sizeof chunk);
    }
    if (wait == ConsoleWait::kEnded || (wait == ConsoleWait::kInput && !count)) {
        ended_ = true;
    }
    if (!count || *count == 0) {
        return false;
    }
    pending_.append(chunk, *count);
    return true;
}

}  // namespace brennix::cli
