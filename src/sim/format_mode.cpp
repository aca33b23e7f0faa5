#include "sim/format_mode.h"

#include <algorithm>
#include <memory>
#include <string>

#include "sim/command_mode.h"
#include "sim/text_case.h"

namespace brennix::sim {

namespace {

constexpr int64_t kDotMs = 1000;

std::string_view WithoutBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

FormatMode::FormatMode(ModeHost& host, uint32_t workMs, std::function<void()> erase)
    : host_(host), workMs_(workMs), erase_(std::move(erase)) {}

void FormatMode::Take(uint8_t byte, int64_t nowMs) {
    if (doneMs_) {
        return;
    }
    std::string echo;
    const std::optional<std::string> line = editor_.Take(byte, echo);
    host_.Echo(std::move(echo), nowMs);
    if (!line) {
        return;
    }
    if (EqualsIgnoringCase(WithoutBlanks(*line), "yes")) {
        host_.Answer("\r\nFormatting", nowMs);
        doneMs_ = nowMs + workMs_;
        nextDotMs_ = nowMs + kDotMs;
        return;
    }
    host_.Answer("\r\nFormat aborted\r\n>", nowMs);
    host_.SwitchTo(std::make_unique<CommandMode>(host_));
}

void FormatMode::Advance(int64_t nowMs) {
    if (!doneMs_) {
        return;
    }
    for (; nextDotMs_ <= nowMs && nextDotMs_ < *doneMs_; nextDotMs_ += kDotMs) {
        host_.Emit(".", nextDotMs_);
    }
    if (nowMs >= *doneMs_) {
        erase_();
        host_.Emit("\r\nOK\r\n>", *doneMs_);
        doneMs_.reset();
        host_.SwitchTo(std::make_unique<CommandMode>(host_));
    }
}

std::optional<int64_t> FormatMode::NextEventMs() const {
    if (!doneMs_) {
        return std::nullopt;
    }
    return std::min(nextDotMs_, *doneMs_);
}

}  // namespace brennix::sim
