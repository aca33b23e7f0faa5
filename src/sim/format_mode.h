#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "sim/line_editor.h"
#include "sim/sim_mode.h"

namespace brennix::sim {

// "format" once it has asked its "YES or NO" question: a line answering it. Yes starts the work,
// which shows a dot each second, erases the recorder and ends with "OK"; input meanwhile goes
// unheard. Any other answer aborts.
class FormatMode : public SimMode {
  public:
    FormatMode(ModeHost& host, uint32_t workMs, std::function<void()> erase);

    void Take(uint8_t byte, int64_t nowMs) override;
    void Break(int64_t nowMs) override { host_.WakeOnBreak(nowMs); }
    void Advance(int64_t nowMs) override;
    std::optional<int64_t> NextEventMs() const override;

  private:
    ModeHost& host_;
    uint32_t workMs_;
    std::function<void()> erase_;
    LineEditor editor_;
    std::optional<int64_t> doneMs_;  // set while formatting
    int64_t nextDotMs_ = 0;
};

}  // namespace brennix::sim
