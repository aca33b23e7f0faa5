#include "link/traffic_tap.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>

namespace brennix {

namespace {

std::string TimeStamp(const LocalDateTime& time) {
    std::array<char, 32> text{};
    const int length =
        std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d.%03d ", time.year,
                      time.month, time.day, time.hour, time.minute, time.second, time.millisecond);
    return std::string(text.data(), static_cast<size_t>(std::max(length, 0)));
}

}  // namespace

TrafficTap::~TrafficTap() {
    if (log_ != nullptr) {
        std::fclose(log_);
    }
}

bool TrafficTap::OpenLog(const std::string& path) {
    if (log_ != nullptr) {
        std::fclose(log_);
        log_ = nullptr;
    }
    logWriteFailed_ = false;
    logError_ = 0;
    atLineStart_ = true;
    lineFeedAdded_ = false;
    if (path.empty()) {
        return true;
    }
    // Binary: the log holds the bytes as they passed, without a CR put before each LF on Windows.
    log_ = std::fopen(path.c_str(), "wb");
    if (log_ == nullptr) {
        logError_ = errno;
    }
    return log_ != nullptr;
}

std::string TrafficTap::LogErrorMessage() const {
    return std::strerror(logError_);
}

OutputWindow* TrafficTap::SetOutputWindow(OutputWindow* window) {
    return std::exchange(outputWindow_, window);
}

void TrafficTap::Show(const uint8_t* bytes, size_t length) {
    if (length == 0) {
        return;
    }
    if (log_ != nullptr) {
        WriteLog(bytes, length);
    }
    if (outputWindow_ != nullptr) {
        outputWindow_->Append(bytes, length);
    }
}

void TrafficTap::Print(const std::string& text) {
    Show(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// The log gets the bytes up to the first NUL. A failed write is reported once; later writes are
// still tried, so the log goes on once there is room again.
void TrafficTap::WriteLog(const uint8_t* bytes, size_t length) {
    const std::string text = LogText(bytes, length);
    errno = 0;
    const bool written =
        std::fwrite(text.data(), 1, text.size(), log_) == text.size() && std::fflush(log_) == 0;
    if (written || logWriteFailed_) {
        return;
    }
    logWriteFailed_ = true;
    logError_ = errno != 0 ? errno : EIO;
    std::clearerr(log_);
    if (logFailureCallback_) {
        logFailureCallback_(LogErrorMessage());
    }
}

std::string TrafficTap::LogText(const uint8_t* bytes, size_t length) {
    const void* zero = std::memchr(bytes, 0, length);
    const std::string_view text(
        reinterpret_cast<const char*>(bytes),
        zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : length);
    // Every line that starts in this piece arrived with it: one reading of the clock serves all.
    std::string stamp;
    std::string logged;
    for (const char byte : text) {
        if (byte == '\n' && std::exchange(lineFeedAdded_, false)) {
            continue;
        }
        if (atLineStart_ && logTimeStamps_) {
            if (stamp.empty()) {
                stamp = TimeStamp(clock_.LocalTime());
            }
            logged += stamp;
        }
        logged += byte;
        // The instrument echoes a command's CR alone: in the log it ends the line for text tools,
        // and the LF that may follow is the one written here.
        lineFeedAdded_ = byte == '\r';
        if (lineFeedAdded_) {
            logged += '\n';
        }
        atLineStart_ = byte == '\n' || lineFeedAdded_;
    }
    return logged;
}

}  // namespace brennix
