#include "platform/queued_job_relay.h"

#include <utility>

namespace brennix {

QueuedJobRelay::QueuedJobRelay(Clock& clock) : clock_(clock), owner_(std::this_thread::get_id()) {}

void QueuedJobRelay::Post(std::function<void()> call) {
    const std::lock_guard lock(mutex_);
    queue_.push_back({std::move(call), nullptr});
}

void QueuedJobRelay::Call(const std::function<void()>& call) {
    if (std::this_thread::get_id() == owner_) {
        call();
        return;
    }
    bool done = false;
    // The owner answers when its loop comes round, not on the clock. The wait ends (and the
    // thread waits for its turn on the clock again) only after the queue's lock is let go, or
    // the owner's next pump could never take it.
    const OutsideClockWait outside(clock_);
    std::unique_lock lock(mutex_);
    queue_.push_back({call, &done});
    ran_.wait(lock, [&done] { return done; });
}

void QueuedJobRelay::Pump() {
    for (;;) {
        Queued next;
        {
            const std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                return;
            }
            next = std::move(queue_.front());
            queue_.pop_front();
        }
        next.call();
        if (next.done != nullptr) {
            const std::lock_guard lock(mutex_);
            *next.done = true;
            ran_.notify_all();
        }
    }
}

}  // namespace brennix
