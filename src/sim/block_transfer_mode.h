#pragma once

#include <string>
#include <vector>

#include "sim/sim_mode.h"

namespace brennix::sim {

// The instrument's side of a recorder transfer: "c" (ready), then one framed block after each
// acknowledgement. The host answers each block with "a" (next), "b" (send it again) or "d"
// (stop); after the last block is acknowledged, or on "d", the command line comes back.
class BlockTransferMode : public SimMode {
  public:
    static constexpr char kReady = 'c';

    // Frames are whole frames, length and checksum included.
    BlockTransferMode(ModeHost& host, std::vector<std::string> frames);

    void Enter(int64_t nowMs) override;
    void Take(uint8_t byte, int64_t nowMs) override;
    void Break(int64_t nowMs) override { host_.WakeOnBreak(nowMs); }

  private:
    void Finish(int64_t nowMs);

    ModeHost& host_;
    std::vector<std::string> frames_;
    // The frame the next acknowledgement answers; none before the first ("c" is answered too).
    size_t sent_ = 0;
    bool started_ = false;
};

}  // namespace brennix::sim
