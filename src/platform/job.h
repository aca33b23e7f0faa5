#pragma once

#include <cstdint>
#include <functional>
#include <thread>

#include "platform/clock.h"
#include "platform/stop_event.h"

namespace brennix {

// A piece of work on a thread of its own. The job owns the thread; the work is asked to stop
// through the job's stop event and must notice it within one of its wait steps. A thread is never
// killed: the destructor asks the work to stop and then waits for it.
class Job {
  public:
    using Work = std::function<void(const StopEvent& stop)>;

    explicit Job(Clock& clock);
    ~Job();
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    // Starts work unless a previous one is still running; the stop event starts clear. False,
    // with nothing started, when work runs already or the system cannot start a thread.
    bool Start(Work work);
    bool IsRunning() const;
    void RequestStop();
    // Asks the work to stop, then waits up to ms for it to end; true when it has ended.
    bool StopAndWait(uint32_t ms);
    // Waits up to ms for the work to end by itself; true when it has ended.
    bool WaitFinished(uint32_t ms);
    const StopEvent& Stop() const { return stop_; }

  private:
    // Joins a thread whose work has ended.
    void Reap();

    Clock& clock_;
    StopEvent stop_;
    StopEvent finished_;
    std::thread thread_;
};

}  // namespace brennix
