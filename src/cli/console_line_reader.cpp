#include "cli/console_line_reader.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

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
    pollfd watched{fd_, POLLIN, 0};
    const int ready = poll(&watched, 1, static_cast<int>(timeoutMs));
    if (ready <= 0) {
        if (ready < 0 && errno != EINTR) {
            ended_ = true;
        }
        return false;
    }
    char chunk[4096];
    const ssize_t count = read(fd_, chunk, sizeof chunk);
    if (count <= 0) {
        if (count == 0 || errno != EINTR) {
            ended_ = true;
        }
        return false;
    }
    pending_.append(chunk, static_cast<size_t>(count));
    return true;
}

}  // namespace brennix::cli
