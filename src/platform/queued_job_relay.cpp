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
    StopEvent answered;
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back({call, &answered});
    }
    // Waits on the clock: on virtual time the owner's loop gets its turns meanwhile, and this
    // thread is back in line the moment the answer is there.
    while (!clock_.WaitForEvent(answered, kAnswerPollMs)) {
    }
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
        if (next.answered != nullptr) {
            next.answered->Set();
        }
    }
}

}  // namespace brennix
