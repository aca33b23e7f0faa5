#include "instrument/scripted_device.h"

#include <algorithm>

namespace brennix::test {

void ScriptedDevice::Send(std::string_view bytes, uint32_t delayMs) {
    const uint32_t arrival = clock_.TickCount() + delayMs;
    for (const char byte : bytes) {
        queue_.insert(std::ranges::upper_bound(queue_, arrival, {}, &Queued::first),
                      {arrival, byte});
    }
}

std::string ScriptedDevice::TakeQueued() {
    std::string rest;
    for (const auto& [tick, byte] : std::exchange(queue_, {})) {
        rest.push_back(byte);
    }
    return rest;
}

bool ScriptedDevice::Read(uint8_t* buffer, size_t count, size_t& done) {
    done = std::min<size_t>(count, Arrived());
    for (size_t i = 0; i < done; ++i) {
        buffer[i] = static_cast<uint8_t>(queue_.front().second);
        queue_.pop_front();
    }
    return open_;
}

bool ScriptedDevice::Write(const uint8_t* data, size_t count, size_t& done) {
    done = 0;
    if (!open_ || writesRefused) {
        return false;
    }
    for (; done < count; ++done) {
        wire_.push_back(static_cast<char>(data[done]));
        Hear(static_cast<char>(data[done]));
    }
    return true;
}

bool ScriptedDevice::Purge(uint32_t flags) {
    if (--failingPurge == 0) {
        return false;
    }
    if (flags & kPurgeRxClear) {
        queue_.erase(queue_.begin(), queue_.begin() + Arrived());
    }
    return true;
}

bool ScriptedDevice::SetBreak(bool on) {
    if (on && !breakFails) {
        wire_ += "<BREAK>";
        Send(breakReply, 100);
    }
    return !breakFails;
}

uint32_t ScriptedDevice::Arrived() const {
    const uint32_t now = clock_.TickCount();
    return static_cast<uint32_t>(
        std::ranges::find_if(queue_, [now](const Queued& entry) { return entry.first > now; }) -
        queue_.begin());
}

void ScriptedDevice::Hear(char byte) {
    if (!awake) {
        heardAsleep_.push_back(byte);
        awake = !wakeWord.empty() && heardAsleep_.ends_with(wakeWord);
    } else if (byte == '\r') {
        const auto reply = replies.find(line_);
        const auto delay = replyDelays.find(line_);
        Send(reply != replies.end() ? reply->second : "\r\n>",
             delay != replyDelays.end() ? delay->second : 0);
        line_.clear();
    } else if (byte != '\n') {
        Send(std::string(1, garbledEchoes-- > 0 ? '#' : byte));
        line_.push_back(byte);
    }
}

}  // namespace brennix::test
