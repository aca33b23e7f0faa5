#include "sim/simulated_bus.h"

#include <algorithm>

namespace brennix::sim {

SimulatedBus::SimulatedBus(const std::vector<Settings>& instruments) {
    for (const Settings& settings : instruments) {
        instruments_.push_back(std::make_unique<SimulatedInstrument>(settings));
    }
}

void SimulatedBus::HostSetBaudRate(uint32_t baudRate) {
    for (const auto& instrument : instruments_) {
        instrument->HostSetBaudRate(baudRate);
    }
}

void SimulatedBus::HostWrite(const uint8_t* data, size_t count, uint32_t nowTick,
                             uint32_t microsecond) {
    for (const auto& instrument : instruments_) {
        instrument->HostWrite(data, count, nowTick, microsecond);
    }
}

// Every instrument sees the BREAK on the pair; only the selected one acts on it.
void SimulatedBus::HostBreak(bool on, uint32_t nowTick) {
    for (const auto& instrument : instruments_) {
        instrument->HostBreak(on, nowTick);
    }
}

size_t SimulatedBus::HostAvailable(uint32_t nowTick, uint32_t microsecond) {
    size_t available = 0;
    for (const auto& instrument : instruments_) {
        available += instrument->HostAvailable(nowTick, microsecond);
    }
    return available;
}

size_t SimulatedBus::HostRead(uint8_t* buffer, size_t maxCount, uint32_t nowTick,
                              uint32_t microsecond) {
    size_t read = 0;
    for (const auto& instrument : instruments_) {
        read += instrument->HostRead(buffer + read, maxCount - read, nowTick, microsecond);
    }
    return read;
}

std::optional<uint32_t> SimulatedBus::UsUntilNextOutput(uint32_t nowTick, uint32_t microsecond) {
    std::optional<uint32_t> soonest;
    for (const auto& instrument : instruments_) {
        const std::optional<uint32_t> next = instrument->UsUntilNextOutput(nowTick, microsecond);
        if (next && (!soonest || *next < *soonest)) {
            soonest = next;
        }
    }
    return soonest;
}

uint32_t SimulatedBus::StartRate() const {
    return instruments_.empty() ? 0 : instruments_.front()->StartRate();
}

}  // namespace brennix::sim
