#pragma once

#include "link/link_waits.h"
#include "link/serial_link.h"

namespace brennix {

// Holds the link for a window while it is open: the terminal's poll and its connection check
// leave it alone, as for a LinkLease, but the line does not count as in use, so the terminal
// does not call it busy while the window only waits for the user. What the window then does on
// the line takes a lease of its own.
class LinkHold {
  public:
    explicit LinkHold(CSerialLink& link) : waits_(link.Waits()) { waits_.BeginHold(); }
    ~LinkHold() { waits_.EndHold(); }
    LinkHold(const LinkHold&) = delete;
    LinkHold& operator=(const LinkHold&) = delete;

  private:
    LinkWaits& waits_;
};

}  // namespace brennix
