#pragma once

#include "link/serial_link.h"

namespace brennix {

// Drains what the port holds, with echo, so unsolicited output reaches the terminal and the log.
// Reads in chunks of at most 512 bytes and stops after 200 ms, so that a talkative instrument
// cannot hold up the caller.
class SerialPoll {
  public:
    static constexpr size_t kChunkBytes = 512;
    static constexpr uint32_t kMaxPollMs = 200;

    static void Run(CSerialLink& link);
};

}  // namespace brennix
