#include "sim/asleep_mode.h"

namespace brennix::sim {

void AsleepMode::Take(uint8_t byte, int64_t nowMs) {
    const WakeSignal signal = wakeDetector_.Take(byte);
    if (signal == WakeSignal::kBreakLines) {
        host_.NoteWakeByBreakLines(nowMs);
    }
    if (signal != WakeSignal::kNone) {
        host_.Wake(nowMs);
    }
}

}  // namespace brennix::sim
