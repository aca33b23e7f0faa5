#include "sim/simulated_device.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace brennix {

SimulatedDevice::SimulatedDevice(sim::HostLine& line, Clock& clock, std::string name)
    : line_(line), clock_(clock), name_(std::move(name)) {}

bool SimulatedDevice::Open(const std::string& name) {
    if (vanished_ || name != name_) {
        return Fail(ENOENT);
    }
    if (open_) {
        return Fail(EBUSY);
    }
    open_ = true;
    lost_ = false;
    received_.clear();
    line_.HostSetBaudRate(state_.baudRate);
    lastError_ = kErrorNone;
    return true;
}

void SimulatedDevice::Close() {
    open_ = false;
    received_.clear();
}

bool SimulatedDevice::IsOpen() const {
    return open_;
}

bool SimulatedDevice::GetState(SerialState& state) {
    if (!CheckUsable()) {
        return false;
    }
    state = state_;
    return true;
}

bool SimulatedDevice::SetState(const SerialState& state) {
    if (!CheckUsable()) {
        return false;
    }
    if (!capabilities_.changeSettings && state.baudRate != state_.baudRate) {
        return Fail(ENOTSUP);
    }
    state_ = state;
    state_.baudRate = keptRate_.value_or(state.baudRate);
    line_.HostSetBaudRate(state_.baudRate);
    return true;
}

void SimulatedDevice::SetCapabilities(PortCapabilities capabilities) {
    capabilities_ = std::move(capabilities);
}

bool SimulatedDevice::SetQueueSizes(size_t, size_t transmitBytes) {
    transmitQueueSize_ = transmitBytes;
    return CheckUsable();
}

bool SimulatedDevice::BytesWaiting(uint32_t& count) {
    count = 0;
    if (!CheckUsable()) {
        return false;
    }
    Collect();
    count = static_cast<uint32_t>(received_.size());
    return true;
}

bool SimulatedDevice::BytesPending(uint32_t& count) {
    count = 0;
    if (!CheckUsable()) {
        return false;
    }
    Transmit();
    count = static_cast<uint32_t>(transmitting_.size());
    return true;
}

bool SimulatedDevice::WaitForInput(uint32_t ms) {
    if (!waitsForInput_ || !CheckUsable()) {
        return false;
    }
    ++inputWaits_;
    Collect();
    for (uint32_t waited = 0; received_.empty() && waited < ms; ++waited) {
        clock_.Sleep(1);
        Collect();
    }
    return true;
}

bool SimulatedDevice::Read(uint8_t* buffer, size_t count, size_t& done) {
    done = 0;
    if (!CheckUsable()) {
        return false;
    }
    Collect();
    const uint32_t start = clock_.TickCount();
    while (received_.size() < count && clock_.TickCount() - start < kReadTimeoutMs) {
        clock_.Sleep(1);
        Collect();
    }
    done = std::min(count, received_.size());
    std::copy_n(received_.begin(), done, buffer);
    received_.erase(received_.begin(), received_.begin() + static_cast<std::ptrdiff_t>(done));
    return true;
}

bool SimulatedDevice::Write(const uint8_t* data, size_t count, size_t& done) {
    done = 0;
    if (!CheckUsable()) {
        return false;
    }
    if (writesRefused_ || (writesRefusedUntil_ &&
                           static_cast<int32_t>(clock_.TickCount() - *writesRefusedUntil_) < 0)) {
        return Fail(EAGAIN);
    }
    Transmit();
    count =
        std::min(count, transmitQueueSize_ - std::min(transmitQueueSize_, transmitting_.size()));
    done = count;
    if (!transmitPaced_) {
        line_.HostWrite(data, count, clock_.TickCount(), 0);
        return true;
    }
    const uint32_t byteMs = std::max<uint32_t>(1, 10'000 / std::max<uint32_t>(state_.baudRate, 1));
    uint32_t leaves = transmitting_.empty() ? clock_.TickCount() : transmitting_.back().second;
    for (size_t i = 0; i < count; ++i) {
        leaves += byteMs;
        transmitting_.emplace_back(data[i], leaves);
    }
    return true;
}

bool SimulatedDevice::Purge(uint32_t flags) {
    if (!CheckUsable() || (purgesUntilFailure_ > 0 && --purgesUntilFailure_ == 0)) {
        return false;
    }
    if (flags & kPurgeRxClear) {
        Collect();
        received_.clear();
    }
    if (flags & kPurgeTxClear) {
        Transmit();
        transmitting_.clear();
    }
    return true;
}

bool SimulatedDevice::SetBreak(bool on) {
    if (!CheckUsable()) {
        return false;
    }
    if (!capabilities_.sendBreak) {
        return Fail(ENOTSUP);
    }
    const uint32_t now = clock_.TickCount();
    if (on) {
        breakTicks_.push_back(now);
    }
    line_.HostBreak(on, now);
    return true;
}

bool SimulatedDevice::Exists(const std::string& name) {
    return !vanished_ && name == name_;
}

int SimulatedDevice::LastError() const {
    return lastError_;
}

std::string SimulatedDevice::LastErrorMessage() const {
    // A port that carries bytes only says why it refused.
    if (lastError_ == ENOTSUP && !capabilities_.limits.empty()) {
        return capabilities_.limits;
    }
    return std::strerror(lastError_);
}

void SimulatedDevice::SetVanished(bool vanished) {
    vanished_ = vanished;
    lost_ = lost_ || (vanished && open_);
}

void SimulatedDevice::SetWritesRefused(bool refused) {
    writesRefused_ = refused;
}

void SimulatedDevice::SetWritesRefusedUntil(uint32_t tick) {
    writesRefusedUntil_ = tick;
}

void SimulatedDevice::SetTransmitPaced(bool paced) {
    transmitPaced_ = paced;
}

void SimulatedDevice::Transmit() {
    const uint32_t now = clock_.TickCount();
    while (!transmitting_.empty() &&
           static_cast<int32_t>(now - transmitting_.front().second) >= 0) {
        const uint8_t byte = transmitting_.front().first;
        transmitting_.pop_front();
        line_.HostWrite(&byte, 1, now, 0);
    }
}

const std::deque<uint32_t>& SimulatedDevice::BreakTicks() const {
    return breakTicks_;
}

void SimulatedDevice::Collect() {
    Transmit();
    const uint32_t now = clock_.TickCount();
    std::array<uint8_t, 512> chunk{};
    while (line_.HostAvailable(now, 0) > 0) {
        const size_t got = line_.HostRead(chunk.data(), chunk.size(), now, 0);
        if (got == 0) {
            break;
        }
        received_.insert(received_.end(), chunk.begin(), chunk.begin() + got);
    }
}

bool SimulatedDevice::Fail(int error) {
    lastError_ = error;
    return false;
}

bool SimulatedDevice::CheckUsable() {
    if (lost_) {
        return Fail(EIO);
    }
    if (!open_) {
        return Fail(EBADF);
    }
    return true;
}

}  // namespace brennix
