#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace brennix::sim {

// The host's side of a serial line with simulated instruments on it: what a port or a server
// drives. Times are the host's tick and the microseconds into it (0 where the host counts whole
// ticks).
class HostLine {
  public:
    virtual ~HostLine() = default;

    virtual void HostSetBaudRate(uint32_t baudRate) = 0;
    virtual void HostWrite(const uint8_t* data, size_t count, uint32_t nowTick,
                           uint32_t microsecond) = 0;
    virtual void HostBreak(bool on, uint32_t nowTick) = 0;
    // Bytes that have reached the host by then, and taking them.
    virtual size_t HostAvailable(uint32_t nowTick, uint32_t microsecond) = 0;
    virtual size_t HostRead(uint8_t* buffer, size_t maxCount, uint32_t nowTick,
                            uint32_t microsecond) = 0;
    // How long until the next byte reaches the host: 0 when one is due, none when nothing is
    // queued.
    virtual std::optional<uint32_t> UsUntilNextOutput(uint32_t nowTick, uint32_t microsecond) = 0;
    // The rate the instruments start at.
    virtual uint32_t StartRate() const = 0;
};

}  // namespace brennix::sim
