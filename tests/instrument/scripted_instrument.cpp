#include "instrument/scripted_instrument.h"

namespace brennix::test {

ScriptedInstrument::ScriptedInstrument(ScriptedDevice& device) : device_(device) {
    device_.onByte = [this](uint8_t byte) { Hear(byte); };
}

void ScriptedInstrument::Hear(uint8_t byte) {
    if (!awake) {
        heard_.push_back(static_cast<char>(byte));
        if (!wakeWord.empty() && heard_.ends_with(wakeWord)) {
            awake = true;
            line_.clear();
        }
        return;
    }
    if (byte == '\r') {
        Answer();
        return;
    }
    if (byte == '\n') {
        return;
    }
    if (echo) {
        const bool garble = garbledEchoes > 0;
        garbledEchoes -= garble ? 1 : 0;
        device_.Send(std::string(1, garble ? '#' : static_cast<char>(byte)));
    }
    line_.push_back(static_cast<char>(byte));
}

void ScriptedInstrument::Answer() {
    const auto reply = replies.find(line_);
    device_.Send(reply != replies.end() ? reply->second : "\r\n>", replyDelayMs);
    line_.clear();
}

}  // namespace brennix::test
