#pragma once

#include <cstdint>

#include "sim/sim_mode.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim {

// The compass calibration: an attitude line every 400 ms until a line end arrives, which is
// answered with the scores and the prompt. A BREAK ends it without scores.
class CompassCalibrationMode : public SimMode {
  public:
    static constexpr int64_t kLineIntervalMs = 400;

    CompassCalibrationMode(ModeHost& host, const Faults& faults);

    void Enter(int64_t nowMs) override;
    void Take(uint8_t byte, int64_t nowMs) override;
    void Break(int64_t nowMs) override { host_.WakeOnBreak(nowMs); }
    void Advance(int64_t nowMs) override;
    std::optional<int64_t> NextEventMs() const override { return nextLineMs_; }

  private:
    ModeHost& host_;
    const Faults& faults_;
    int64_t startMs_ = 0;
    int64_t nextLineMs_ = 0;
};

}  // namespace brennix::sim
