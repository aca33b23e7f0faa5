#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/clock.h"
#include "platform/job_relay.h"
#include "platform/stop_event.h"

namespace brennix {

// A relay for an owner without an event loop (the console, tests): calls wait in a queue until
// the owner's thread runs them in Pump(). The thread that builds it is the owner.
class QueuedJobRelay : public JobRelay {
  public:
    explicit QueuedJobRelay(Clock& clock);

    void Post(std::function<void()> call) override;
    void Call(const std::function<void()>& call) override;

    // Owner's thread: runs every call queued so far, in order.
    void Pump();

  private:
    struct Queued {
        std::function<void()> call;
        StopEvent* answered = nullptr;  // set once a waiting call has run
    };
    static constexpr uint32_t kAnswerPollMs = 1000;

    Clock& clock_;
    const std::thread::id owner_;
    std::mutex mutex_;
    std::deque<Queued> queue_;
};

}  // namespace brennix
