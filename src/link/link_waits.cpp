#include "link/link_waits.h"

namespace brennix {

void LinkWaits::Wait(uint32_t ms) {
    if (pump_ != nullptr) {
        pump_->PumpMessages(ms);
    } else {
        Pause(ms);
    }
}

void LinkWaits::Pause(uint32_t ms) {
    if (stop_ != nullptr) {
        clock_.WaitForEvent(*stop_, ms);
    } else {
        clock_.Sleep(ms);
    }
}

LinkWaits::Previous LinkWaits::BeginLease(const StopEvent* stop, UiHost* pump) {
    const Previous previous{stop_, pump_};
    if (stop != nullptr) {
        stop_ = stop;
    }
    if (pump != nullptr) {
        pump_ = pump;
    }
    ++leases_;
    return previous;
}

void LinkWaits::EndLease(const Previous& previous) {
    stop_ = previous.stop;
    pump_ = previous.pump;
    --leases_;
}

}  // namespace brennix
