#include "setup/sheet_busy.h"

namespace brennix {

SheetBusy::SheetBusy(UiHost& ui, CSerialLink* link) : cursor_(ui) {
    if (link != nullptr) {
        lease_.emplace(*link, nullptr, &ui);
    }
}

SheetBusy::~SheetBusy() = default;

}  // namespace brennix
