#pragma once

#include <cstdint>
#include <string>

namespace brennix::sim {

enum class WakeSignal {
    kNone,
    kBreakLines,  // the two "  \r\n" lines a host sends just before a BREAK
    kPlusSigns,   // ten plus signs in a row
};

// Watches the received bytes for the patterns that wake a sleeping instrument.
class WakeDetector {
  public:
    WakeSignal Take(uint8_t byte);
    void Reset();

  private:
    std::string tail_;
};

}  // namespace brennix::sim
