#pragma once

#include <cstdint>

namespace brennix::sim {

// Turns the host's wrapping 32-bit millisecond ticks into a 64-bit time that only moves forward,
// so due times never wrap.
class TickTimeline {
  public:
    // Milliseconds since the first tick seen. A tick older than the last one keeps the time.
    int64_t Advance(uint32_t tick);

  private:
    bool started_ = false;
    uint32_t lastTick_ = 0;
    int64_t elapsedMs_ = 0;
};

}  // namespace brennix::sim
