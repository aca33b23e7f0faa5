#pragma once

#include "link/serial_link.h"
#include "platform/stop_event.h"

namespace brennix {

// Holds the link for a dialog or a job for the life of the object: the terminal's poll and its
// connection check leave a held link alone. With a stop event, the link's waits end early and
// its timed operations fail once the event is set. Leases nest; the innermost stop event counts.
class LinkLease {
  public:
    explicit LinkLease(CSerialLink& link, const StopEvent* stop = nullptr) : link_(link) {
        link_.BeginLease(stop, previousStop_);
    }
    ~LinkLease() { link_.EndLease(previousStop_); }
    LinkLease(const LinkLease&) = delete;
    LinkLease& operator=(const LinkLease&) = delete;

  private:
    CSerialLink& link_;
    const StopEvent* previousStop_ = nullptr;
};

}  // namespace brennix
