#include "setup/sheet_busy.h"

#include <QCoreApplication>

namespace brennix {

SheetBusy::SheetBusy(UiHost& ui, CSerialLink* link) : cursor_(ui), link_(link) {
    if (link_ != nullptr) {
        previous_ = link_->SetWaitCallback([link](uint32_t ms) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            link->Pause(ms);
        });
    }
}

SheetBusy::~SheetBusy() {
    if (link_ != nullptr) {
        link_->SetWaitCallback(std::move(previous_));
    }
}

}  // namespace brennix
