#include "link/traffic_tap.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace brennix {

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
    if (path.empty()) {
        return true;
    }
    log_ = std::fopen(path.c_str(), "w");
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
    const void* zero = std::memchr(bytes, 0, length);
    const size_t text =
        zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : length;
    errno = 0;
    const bool written = std::fwrite(bytes, 1, text, log_) == text && std::fflush(log_) == 0;
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

}  // namespace brennix
