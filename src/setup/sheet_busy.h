#pragma once

#include <optional>

#include "link/link_lease.h"
#include "link/serial_link.h"
#include "platform/ui_host.h"

namespace brennix {

// While the setup sheet talks to the instrument: the wait cursor, and windows that keep painting
// during the exchange's waits without taking clicks or keys before it is over.
class SheetBusy {
  public:
    SheetBusy(UiHost& ui, CSerialLink* link);
    ~SheetBusy();
    SheetBusy(const SheetBusy&) = delete;
    SheetBusy& operator=(const SheetBusy&) = delete;

  private:
    WaitCursor cursor_;
    std::optional<LinkLease> lease_;
};

}  // namespace brennix
