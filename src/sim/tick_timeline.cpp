#include "sim/tick_timeline.h"

namespace brennix::sim {

int64_t TickTimeline::Advance(uint32_t tick) {
    if (!started_) {
        started_ = true;
        lastTick_ = tick;
        return elapsedMs_;
    }
    const auto delta = static_cast<int32_t>(tick - lastTick_);
    if (delta > 0) {
        elapsedMs_ += delta;
        lastTick_ = tick;
    }
    return elapsedMs_;
}

}  // namespace brennix::sim
