#include "sim/simulated_device.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace brennix {

SimulatedDevice::SimulatedDevice(sim::HostLine& line, Clock& clock) : line_(line), clock_(clock) {}

bool SimulatedDevice::Open(const std::string& name) {
    if (vanished_ || name != kPortName)
        return Fail(ENOENT);
    if (open_)
        return Fail(EBUSY);
    open_ = true;
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
    if (!CheckUsable())
        return false;
    state = state_;
    return true;
}

bool SimulatedDevice::SetState(const SerialState& state) {
    if (!CheckUsable())
        return false;
    if (!capabilities_.changeSettings && state.baudRate != state_.baudRate)
        return Fail(ENOTSUP);
    state_ = state;
    line_.HostSetBaudRate(state.baudRate);
    return true;
}

void SimulatedDevice::SetCapabilities(PortCapabilities capabilities) {
    capabilities_ = std::move(capabilities);
}

bool SimulatedDevice::SetQueueSizes(size_t, size_t) {
    return CheckUsable();
}

bool SimulatedDevice::BytesWaiting(uint32_t& count) {
    count = 0;
    if (!CheckUsable())
        return false;
    Collect();
    count = static_cast<uint32_t>(received_.size());
    return true;
}

bool SimulatedDevice::BytesPending(uint32_t& count) {
    count = 0;
    if (!CheckUsable())
        return false;
    Transmit();
    count = static_cast<uint32_t>(transmitting_.size());
    return true;
}

bool SimulatedDevice::Read(uint8_t* buffer, size_t count, size_t& done) {
    done = 0;
    if (!CheckUsable())
        return false;
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
    if (!CheckUsable())
        return false;
    if (writesRefused_)
        return Fail(EAGAIN);
    done = count;
    if (!transmitPaced_) {
        line_.HostWrite(data, count, clock_.TickCount(), 0);
        return true;
    }
    Transmit();
    const uint32_t byteMs = std::max<uint32_t>(1, 10'000 / std::max<uint32_t>(state_.baudRate, 1));
    uint32_t leaves = transmitting_.empty() ? clock_.TickCount() : transmitting_.back().second;
    for (size_t i = 0; i < count; ++i) {
        leaves += byteMs;
        transmitting_.emplace_back(data[i], leaves);
    }
    return true;
}

bool SimulatedDevice::Purge(uint32_t flags) {
    if (!CheckUsable())
        return false;
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
    if (!CheckUsable())
        return false;
    const uint32_t now = clock_.TickCount();
    if (on)
        breakTicks_.push_back(now);
    line_.HostBreak(on, now);
    return true;
}

bool SimulatedDevice::Exists(const std::string& name) {
    return !vanished_ && name == kPortName;
}

int SimulatedDevice::LastError() const {
    return lastError_;
}

std::string SimulatedDevice::LastErrorMessage() const {
    return std::strerror(lastError_);
}

void SimulatedDevice::SetVanished(bool vanished) {
    vanished_ = vanished;
}

void SimulatedDevice::SetWritesRefused(bool refused) {
    writesRefused_ = refused;
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
        if (got == 0)
            break;
        received_.insert(received_.end(), chunk.begin(), chunk.begin() + got);
    }
}

bool SimulatedDevice::Fail(int error) {
    lastError_ = error;
    return false;
}

bool SimulatedDevice::CheckUsable() {
    if (vanished_)
        return Fail(EIO);
    if (!open_)
        return Fail(EBADF);
    return true;
}

}  // namespace brennix
