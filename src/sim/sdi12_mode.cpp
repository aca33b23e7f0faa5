#include "sim/sdi12_mode.h"

#include "sim/command_mode.h"

namespace brennix::sim {

void Sdi12Mode::Take(uint8_t byte, int64_t nowMs) {
    const Sdi12Session::Outcome outcome = session_.Take(byte);
    if (outcome.leave) {
        host_.Answer("\r\nCommand mode\r\n>", nowMs);
        host_.SwitchTo(std::make_unique<CommandMode>(host_));
        return;
    }
    host_.Answer(outcome.reply, nowMs);
}

void Sdi12Mode::Break(int64_t nowMs) {
    session_.Reset();
    host_.Answer(Sdi12Session::kModeNotice, nowMs);
}

}  // namespace brennix::sim
