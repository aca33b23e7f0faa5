#pragma once

#include "sim/sim_mode.h"
#include "sim/wake_detector.h"

namespace brennix::sim {

// Asleep or measuring: hears nothing but a BREAK, the two blank lines before one, or ten plus
// signs, all of which wake it.
class AsleepMode : public SimMode {
  public:
    explicit AsleepMode(ModeHost& host) : host_(host) {}

    void Take(uint8_t byte, int64_t nowMs) override;
    void Break(int64_t nowMs) override { host_.WakeOnBreak(nowMs); }

  private:
    ModeHost& host_;
    WakeDetector wakeDetector_;
};

}  // namespace brennix::sim
