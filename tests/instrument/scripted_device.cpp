#include "instrument/scripted_device.h"

#include <algorithm>

namespace brennix::test {

void ScriptedDevice::Send(std::string_view bytes, uint32_t delayMs) {
    const uint32_t arrival = clock_.TickCount() + delayMs;
    for (const char byte : bytes) {
        const auto at =
            std::upper_bound(queue_.begin(), queue_.end(), arrival,
                             [](uint32_t tick, const auto& entry) { return tick < entry.first; });
        queue_.insert(at, {arrival, static_cast<uint8_t>(byte)});
    }
}

bool ScriptedDevice::Open(const std::string&) {
    open_ = true;
    return true;
}

bool ScriptedDevice::GetState(SerialState& state) {
    state = state_;
    return open_;
}

bool ScriptedDevice::SetState(const SerialState& state) {
    state_ = state;
    return open_;
}

bool ScriptedDevice::BytesWaiting(uint32_t& count) {
    count = static_cast<uint32_t>(Arrived());
    return open_;
}

bool ScriptedDevice::BytesPending(uint32_t& count) {
    count = 0;
    return open_;
}

bool ScriptedDevice::Read(uint8_t* buffer, size_t count, size_t& done) {
    done = std::min(count, Arrived());
    for (size_t i = 0; i < done; ++i) {
        buffer[i] = queue_.front().second;
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
        if (onByte) {
            onByte(data[done]);
        }
    }
    return true;
}

bool ScriptedDevice::Purge(uint32_t flags) {
    if (purgeResult && !purgeResult(flags)) {
        return false;
    }
    if (flags & kPurgeRxClear) {
        queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(Arrived()));
    }
    return true;
}

bool ScriptedDevice::SetBreak(bool on) {
    if (breakFails) {
        return false;
    }
    if (on) {
        wire_ += "<BREAK>";
        if (onBreak) {
            onBreak();
        }
    }
    return true;
}

size_t ScriptedDevice::Arrived() const {
    const uint32_t now = clock_.TickCount();
    return static_cast<size_t>(
        std::find_if(queue_.begin(), queue_.end(),
                     [now](const auto& entry) { return entry.first > now; }) -
        queue_.begin());
}

}  // namespace brennix::test
