#pragma once

#include <string>
#include <vector>

#include "sim/sim_mode.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim {

// The instrument's side of a recorder transfer: "c" (ready), then one framed block after each
// acknowledgement. The host answers each block with "a" (next), "b" (send it again) or "d"
// (stop); after the last block is acknowledged, or on "d", the command line comes back. Any other
// byte means the host has given up on the transfer and talks to the command line again. On "d"
// and on such a byte the block being sent stops where it is. The recorder faults spoil, drop or
// withhold blocks.
class BlockTransferMode : public SimMode {
  public:
    static constexpr char kReady = 'c';

    // Frames are whole frames, length and checksum included.
    BlockTransferMode(ModeHost& host, std::vector<std::string> frames, const Faults& faults);

    void Enter(int64_t nowMs) override;
    void Take(uint8_t byte, int64_t nowMs) override;
    void Break(int64_t nowMs) override { host_.WakeOnBreak(nowMs); }

  private:
    void SendCurrent(int64_t nowMs);
    void Finish(int64_t nowMs);

    ModeHost& host_;
    std::vector<std::string> frames_;
    const Faults& faults_;
    // The frame the next acknowledgement answers; none before the first ("c" is answered too).
    size_t sent_ = 0;
    bool started_ = false;
    bool dropped_ = false;
    int spoiled_ = 0;
};

}  // namespace brennix::sim
