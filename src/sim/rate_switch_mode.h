#pragma once

#include <cstdint>

#include "sim/command_mode.h"

namespace brennix::sim {

// The command line right after "BAUD 0 N" was acknowledged: it takes up the new rate as it takes
// over, so the acknowledgement itself still went out at the old one.
class RateSwitchMode : public CommandMode {
  public:
    RateSwitchMode(ModeHost& host, uint32_t baudRate)
        : CommandMode(host), host_(host), baudRate_(baudRate) {}

    void Enter(int64_t /*nowMs*/) override { host_.SetLineRate(baudRate_); }

  private:
    ModeHost& host_;
    uint32_t baudRate_;
};

}  // namespace brennix::sim
