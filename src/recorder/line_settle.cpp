#include "recorder/line_settle.h"

#include <algorithm>

#include "link/link_lease.h"
#include "platform/stop_event.h"

namespace brennix {

namespace {

constexpr uint32_t kQuietMs = 200;
constexpr uint32_t kLeastDrainMs = 4000;
constexpr uint32_t kPollMs = 10;
// The block in flight, its resend for a reject, one for each of three "b", and one to spare.
constexpr uint64_t kDrainBlocks = 6;
constexpr uint64_t kLargestFrame = 1024 + 4;
constexpr uint64_t kBitsPerByte = 10;

uint32_t DrainLimitMs(uint32_t baudRate) {
    const uint64_t bits = kDrainBlocks * kLargestFrame * kBitsPerByte;
    const uint64_t ms = baudRate == 0 ? kLeastDrainMs : bits * 1000 / baudRate;
    return static_cast<uint32_t>(std::max<uint64_t>(ms, kLeastDrainMs));
}

}  // namespace

void SettleLine(CSerialLink& link) {
    Clock& clock = link.GetClock();
    const uint32_t limitMs = DrainLimitMs(link.GetBaudRate());
    const uint32_t start = clock.TickCount();
    uint32_t lastByte = start;
    while (!HasExpired(lastByte, clock.TickCount(), kQuietMs) &&
           !HasExpired(start, clock.TickCount(), limitMs)) {
        if (link.BytesWaiting() > 0) {
            link.Purge(kPurgeRxClear);
            lastByte = clock.TickCount();
        }
        link.Waits().Pause(kPollMs);
    }
}

void SettleAfterStop(CInstrument& instrument) {
    CSerialLink& link = *instrument.GetLink();
    SettleLine(link);
    instrument.LocatePrompt();
    // The second CR's prompt too.
    SettleLine(link);
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
