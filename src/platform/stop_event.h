#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace brennix {

// A manual-reset event: once set it stays set until reset, and every waiter sees it.
class StopEvent {
  public:
    void Set();
    void Reset();
    bool IsSet() const;
    // Waits until the event is set or ms have passed; true when set.
    bool WaitFor(uint32_t ms) const;

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool set_ = false;
};

}  // namespace brennix
