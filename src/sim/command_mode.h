#pragma once

#include "sim/line_editor.h"
#include "sim/sim_mode.h"
#include "sim/wake_detector.h"

namespace brennix::sim {

// The command line: echoes what it hears, runs a line on CR, and answers wake-up plus signs with
// a fresh prompt.
class CommandMode : public SimMode {
  public:
    explicit CommandMode(ModeHost& host) : host_(host) {}

    void Take(uint8_t byte, int64_t nowMs) override;
    void Break(int64_t nowMs) override { host_.WakeOnBreak(nowMs); }
    bool SleepsWhenIdle() const override { return true; }

  private:
    ModeHost& host_;
    LineEditor editor_;
    WakeDetector wakeDetector_;
};

}  // namespace brennix::sim
