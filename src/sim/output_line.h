#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>

namespace brennix::sim {

// The instrument's transmit line: bytes queued with the time they reach the host, in
// microseconds. Paced, each byte takes ten bit times at the line rate and bytes never overtake
// each other.
class OutputLine {
  public:
    void SetPacing(bool pace, uint32_t baudRate);
    // Queues bytes that start leaving at startUs or when the line is free, whichever is later.
    void Send(std::string_view bytes, int64_t startUs);
    // Drops the bytes that have not left by nowUs: the sender stops in the middle.
    void DropUnsent(int64_t nowUs);
    size_t Available(int64_t nowUs) const;
    size_t Read(uint8_t* buffer, size_t maxCount, int64_t nowUs);
    // When the next queued byte reaches the host; none when nothing is queued.
    std::optional<int64_t> NextDueUs() const;

  private:
    struct TimedByte {
        uint8_t value;
        int64_t dueUs;
    };

    std::deque<TimedByte> bytes_;
    int64_t lineFreeUs_ = 0;
    bool pace_ = true;
    uint32_t baudRate_ = 9600;
};

}  // namespace brennix::sim
