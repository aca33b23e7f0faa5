#pragma once

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
    CSerialLink* link_;
    CSerialLink::WaitCallback previous_;
};

}  // namespace brennix
