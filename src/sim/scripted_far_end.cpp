#include "sim/scripted_far_end.h"

#include <algorithm>
#include <vector>

namespace brennix::sim {
namespace {

// Tick order that holds across the 32-bit wrap.
bool Before(uint32_t a, uint32_t b) {
    return static_cast<int32_t>(a - b) < 0;
}

}  // namespace

void ScriptedFarEnd::Send(std::string_view bytes, uint32_t delayMs) {
    SendAt(bytes, clock_.TickCount() + delayMs);
}

void ScriptedFarEnd::SendAt(std::string_view bytes, uint32_t tick) {
    std::vector<Queued> arriving;
    for (const char byte : bytes) {
        arriving.emplace_back(tick, byte);
    }
    // After whatever arrives by then, in the order sent.
    queue_.insert(
        std::ranges::find_if(queue_, [tick](const Queued& q) { return Before(tick, q.first); }),
        arriving.begin(), arriving.end());
}

void ScriptedFarEnd::HostWrite(const uint8_t* data, size_t count, uint32_t nowTick, uint32_t) {
    for (size_t i = 0; i < count; ++i) {
        wire_.push_back(static_cast<char>(data[i]));
        Hear(static_cast<char>(data[i]), nowTick);
    }
}

void ScriptedFarEnd::HostBreak(bool on, uint32_t nowTick) {
    breaks_.push_back({on, nowTick, rate_});
    if (on) {
        wire_ += "<BREAK>";
        SendAt(breakReply, nowTick + 100);
    }
}

size_t ScriptedFarEnd::HostAvailable(uint32_t nowTick, uint32_t) {
    return static_cast<size_t>(
        std::ranges::find_if(queue_,
                             [nowTick](const Queued& q) { return Before(nowTick, q.first); }) -
        queue_.begin());
}

size_t ScriptedFarEnd::HostRead(uint8_t* buffer, size_t maxCount, uint32_t nowTick, uint32_t) {
    const size_t count = std::min(maxCount, HostAvailable(nowTick, 0));
    for (size_t i = 0; i < count; ++i) {
        buffer[i] = static_cast<uint8_t>(queue_.front().second);
        queue_.pop_front();
    }
    return count;
}

std::optional<uint32_t> ScriptedFarEnd::UsUntilNextOutput(uint32_t nowTick, uint32_t) {
    if (queue_.empty()) {
        return std::nullopt;
    }
    const auto ms = static_cast<int32_t>(queue_.front().first - nowTick);
    return static_cast<uint32_t>(std::max(ms, 0)) * 1000;
}

void ScriptedFarEnd::Hear(char byte, uint32_t nowTick) {
    if (!awake) {
        heardAsleep_.push_back(byte);
        awake = !wakeWord.empty() && heardAsleep_.ends_with(wakeWord);
    } else if (byte == '\r') {
        const auto reply = replies_.find(line_);
        if (reply == replies_.end()) {
            SendAt("\r\n>", nowTick);
        } else {
            SendAt(reply->second.first, nowTick + reply->second.second);
        }
        line_.clear();
    } else if (byte != '\n') {
        SendAt(std::string(1, garbledEchoes-- > 0 ? '#' : byte), nowTick);
        line_.push_back(byte);
    }
}

}  // namespace brennix::sim
