#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/simulated_instrument.h"

namespace brennix::sim::test {

// Settings without line pacing, so answers are due the moment they are made.
inline Settings Unpaced(Settings settings = {}) {
    settings.paceAtLineRate = false;
    return settings;
}

// Drives a simulated instrument as a host would, on an explicit tick.
class SimHarness {
  public:
    explicit SimHarness(const Settings& settings = Unpaced(), uint32_t startTick = 1000)
        : instrument(settings), tick(startTick) {}

    void Send(std::string_view bytes) {
        instrument.HostWrite(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), tick);
    }
    // A 300 ms BREAK.
    void Break() {
        instrument.HostBreak(true, tick);
        tick += 300;
        instrument.HostBreak(false, tick);
    }
    // Lets time pass and takes everything that has arrived by then.
    std::string Collect(uint32_t ms = 0) {
        tick += ms;
        std::string bytes(instrument.HostAvailable(tick), '\0');
        bytes.resize(
            instrument.HostRead(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size(), tick));
        return bytes;
    }
    std::string Exchange(std::string_view bytes, uint32_t ms = 0) {
        Send(bytes);
        return Collect(ms);
    }

    SimulatedInstrument instrument;
    uint32_t tick;
};

}  // namespace brennix::sim::test
