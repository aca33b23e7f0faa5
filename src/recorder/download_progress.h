#pragma once

#include <cstdint>

namespace brennix {

// The progress of a download: the bar's position out of kSteps and the time left, from the bytes
// done (received, or skipped files counted whole) against the total the directory gives. A total
// of 0 reads as finished, and a recorder that sends more than its directory said keeps the bar
// full rather than past its end.
class DownloadProgress {
  public:
    static constexpr int kSteps = 300;

    DownloadProgress(uint64_t total, uint32_t startTick) : total_(total), startTick_(startTick) {}

    void Count(uint64_t bytes) { done_ += bytes; }
    int Position() const;
    // True once when the position has moved since the last time it said so.
    bool TakeMove();
    // The time left from the pace so far; 0 before anything was done.
    uint64_t TimeLeftMs(uint32_t nowTick) const;
    uint32_t ElapsedMs(uint32_t nowTick) const { return nowTick - startTick_; }

  private:
    uint64_t total_;
    uint64_t done_ = 0;
    uint32_t startTick_;
    int shown_ = 0;
};

}  // namespace brennix
