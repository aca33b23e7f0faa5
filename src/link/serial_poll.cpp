#include "link/serial_poll.h"

#include <algorithm>
#include <array>

namespace brennix {

void SerialPoll::Run(CSerialLink& link) {
    if (!link.IsOpen()) {
        return;
    }
    Clock& clock = link.GetClock();
    const uint32_t start = clock.TickCount();
    std::array<uint8_t, kChunkBytes> chunk{};
    for (uint32_t waiting = link.BytesWaiting(); waiting > 0; waiting = link.BytesWaiting()) {
        if (HasExpired(start, clock.TickCount(), kMaxPollMs)) {
            return;
        }
        const size_t count = std::min<size_t>(waiting, chunk.size());
        size_t done = 0;
        if (!link.Read(std::span(chunk.data(), count), done, 0, true)) {
            return;
        }
    }
}

}  // namespace brennix
