#pragma once

#include <time.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "sim/host_line.h"

namespace brennix::sim {

// A host line driven in real time by a server: the time since the start as the instruments'
// tick, the output that is due by now, and how long until more is.
class RealTimeLine {
  public:
    struct Instant {
        uint32_t tick;
        uint32_t microsecond;
    };

    explicit RealTimeLine(HostLine& line) : line_(line) {}

    void Start() { start_ = std::chrono::steady_clock::now(); }
    Instant Now() const;
    // Takes what the instruments have sent by now.
    std::string TakeDue();
    // How long to sleep until the next byte is due, to the microsecond, so paced output leaves
    // as evenly as on a real line; none when nothing is queued.
    std::optional<timespec> UntilNextOutput();
    void Write(const uint8_t* data, size_t count);
    HostLine& Line() { return line_; }

  private:
    HostLine& line_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace brennix::sim
