#include "platform/stop_event.h"

#include <chrono>

namespace brennix {

// Notifies under the lock: a waiter that sees the event set may destroy it at once, so Set must be
// done with it before the waiter can get the mutex.
void StopEvent::Set() {
    std::lock_guard lock(mutex_);
    set_ = true;
    changed_.notify_all();
}

void StopEvent::Reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
}

bool StopEvent::IsSet() const {
    std::lock_guard lock(mutex_);
    return set_;
}

bool StopEvent::WaitFor(uint32_t ms) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return set_; });
}

}  // namespace brennix
