#include "sim/command_mode.h"

namespace brennix::sim {

void CommandMode::Take(uint8_t byte, int64_t nowMs) {
    const WakeSignal signal = wakeDetector_.Take(byte);
    std::string echo;
    const std::optional<std::string> line = editor_.Take(byte, echo);
    host_.Echo(std::move(echo), nowMs);
    if (line) {
        Reply reply = host_.Execute(*line, nowMs);
        host_.Answer(reply.text, nowMs);
        if (reply.next) {
            host_.SwitchTo(std::move(reply.next));
        }
    } else if (signal == WakeSignal::kPlusSigns) {
        editor_.Clear();
        host_.Answer("\r\n>", nowMs);
    }
}

}  // namespace brennix::sim
