#pragma once

#include <atomic>
#include <cstdint>

#include "platform/clock.h"
#include "platform/stop_event.h"
#include "platform/ui_host.h"

namespace brennix {

// Who holds the link and how its waits behave. Work on the line (a job, a script, an exchange)
// holds it through a LinkLease, a window that may use it while it is open through a LinkHold;
// the terminal leaves a held link alone. A lease may bring a stop event: once set,
// every wait ends at once and every timed operation of the link fails, so a job's stop ends
// even a 15 s read within one poll step. A lease may bring a UiHost to pump during the waits:
// a script run at the terminal keeps its window (and its Stop button) alive that way. Leases
// nest; the innermost one that brings either counts.
class LinkWaits {
  public:
    // What an inner lease replaced, to put back when it ends.
    struct Previous {
        const StopEvent* stop = nullptr;
        UiHost* pump = nullptr;
    };

    explicit LinkWaits(Clock& clock) : clock_(clock) {}

    // Between two polls of the port: pumps the lease's UiHost when it has one, else pauses.
    void Wait(uint32_t ms);
    // A pause that never pumps (the instrument's own pauses); ends early on a stop.
    void Pause(uint32_t ms);
    bool StopRequested() const { return stop_ != nullptr && stop_->IsSet(); }
    bool Pumping() const { return pump_ != nullptr; }

    Previous BeginLease(const StopEvent* stop, UiHost* pump);
    void EndLease(const Previous& previous);
    void BeginHold() { ++holds_; }
    void EndHold() { --holds_; }
    // Held at all: by work or by a window.
    bool IsLeased() const { return leases_.load() > 0 || holds_.load() > 0; }
    // Work is on the line, beyond a window only being open.
    bool InUse() const { return leases_.load() > 0; }

    Clock& GetClock() const { return clock_; }

  private:
    Clock& clock_;
    const StopEvent* stop_ = nullptr;
    UiHost* pump_ = nullptr;
    std::atomic<int> leases_ = 0;
    std::atomic<int> holds_ = 0;
};

}  // namespace brennix
