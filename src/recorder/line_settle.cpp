#include "recorder/line_settle.h"

#include "link/link_lease.h"
#include "platform/stop_event.h"

namespace brennix {

namespace {

constexpr uint32_t kQuietMs = 200;
constexpr uint32_t kDrainLimitMs = 4000;
constexpr uint32_t kPollMs = 10;

}  // namespace

void SettleLine(CSerialLink& link) {
    Clock& clock = link.GetClock();
    const uint32_t start = clock.TickCount();
    uint32_t lastByte = start;
    while (!HasExpired(lastByte, clock.TickCount(), kQuietMs) &&
           !HasExpired(start, clock.TickCount(), kDrainLimitMs)) {
        if (link.BytesWaiting() > 0) {
            link.Purge(kPurgeRxClear);
            lastByte = clock.TickCount();
        }
        link.Waits().Pause(kPollMs);
    }
}

bool SwitchRate(CInstrument& instrument, uint32_t rate) {
    const StopEvent never;
    const LinkLease whole(*instrument.GetLink(), &never);
    return CRecorderAccess(instrument).SetBaud(rate);
}

bool RestoreRate(CRecorderAccess& access, CSerialLink& link, uint32_t rate) {
    SettleLine(link);
    const bool restored = access.SetBaud(rate);
    link.FlushInput(true);
    return restored;
}

}  // namespace brennix
