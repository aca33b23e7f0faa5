#pragma once

#include <memory>
#include <vector>

#include "sim/host_line.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim {

// Several instruments on one RS-485 pair: each hears everything the host sends and answers only
// while its address is selected, so their answers never overlap. What they send reaches the host
// in the order of the instruments.
class SimulatedBus : public HostLine {
  public:
    // One instrument for each of the settings, each with its own RS-485 address.
    explicit SimulatedBus(const std::vector<Settings>& instruments);

    void HostSetBaudRate(uint32_t baudRate) override;
    void HostWrite(const uint8_t* data, size_t count, uint32_t nowTick,
                   uint32_t microsecond) override;
    void HostBreak(bool on, uint32_t nowTick) override;
    size_t HostAvailable(uint32_t nowTick, uint32_t microsecond) override;
    size_t HostRead(uint8_t* buffer, size_t maxCount, uint32_t nowTick,
                    uint32_t microsecond) override;
    std::optional<uint32_t> UsUntilNextOutput(uint32_t nowTick, uint32_t microsecond) override;
    uint32_t StartRate() const override;

    const std::vector<std::unique_ptr<SimulatedInstrument>>& Instruments() const {
        return instruments_;
    }

  private:
    std::vector<std::unique_ptr<SimulatedInstrument>> instruments_;
};

}  // namespace brennix::sim
