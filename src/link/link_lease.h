#pragma once

#include "link/link_waits.h"
#include "link/serial_link.h"
#include "platform/stop_event.h"
#include "platform/ui_host.h"

namespace brennix {

// Holds the link for a dialog, a job or a script run for the life of the object: the terminal's
// poll and its connection check leave a held link alone. With a stop event, the link's waits end
// early and its timed operations fail once the event is set; with a UiHost, the waits keep that
// host's windows alive. Leases nest (LinkWaits).
class LinkLease {
  public:
    explicit LinkLease(CSerialLink& link, const StopEvent* stop = nullptr, UiHost* pump = nullptr)
        : waits_(link.Waits()), previous_(waits_.BeginLease(stop, pump)) {}
    ~LinkLease() { waits_.EndLease(previous_); }
    LinkLease(const LinkLease&) = delete;
    LinkLease& operator=(const LinkLease&) = delete;

  private:
    LinkWaits& waits_;
    LinkWaits::Previous previous_;
};

}  // namespace brennix
