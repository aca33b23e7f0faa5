#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "sim/host_line.h"

namespace brennix::sim {

// The far end of the simulated port when a test needs exact replies rather than an instrument:
// it records what the host writes (a BREAK shows as "<BREAK>") and hands the host the bytes it
// was given once the clock reaches their tick. Awake, it echoes every byte but CR and LF and
// answers each line with its scripted reply, or with a line end and a prompt; asleep it says
// nothing of its own and wakes only on its wake word.
class ScriptedFarEnd : public HostLine {
  public:
    // A BREAK edge as the far end saw it, with the rate the line was at.
    struct BreakEdge {
        bool on;
        uint32_t tick;
        uint32_t rate;
        bool operator==(const BreakEdge&) const = default;
    };

    explicit ScriptedFarEnd(Clock& clock) : clock_(clock) {}

    bool awake = true;
    std::string wakeWord;
    std::string breakReply;  // sent 100 ms after each BREAK
    int garbledEchoes = 0;   // this many echoed bytes arrive as '#'

    // The reply to line, delayMs after its CR.
    void Reply(const std::string& line, std::string reply, uint32_t delayMs = 0) {
        replies_[line] = {std::move(reply), delayMs};
    }
    // Makes bytes readable by the host delayMs from now.
    void Send(std::string_view bytes, uint32_t delayMs = 0);
    const std::string& Wire() const { return wire_; }
    void ClearWire() { wire_.clear(); }
    const std::vector<BreakEdge>& Breaks() const { return breaks_; }

    void HostSetBaudRate(uint32_t baudRate) override { rate_ = baudRate; }
    void HostWrite(const uint8_t* data, size_t count, uint32_t nowTick, uint32_t) override;
    void HostBreak(bool on, uint32_t nowTick) override;
    size_t HostAvailable(uint32_t nowTick, uint32_t) override;
    size_t HostRead(uint8_t* buffer, size_t maxCount, uint32_t nowTick, uint32_t) override;
    std::optional<uint32_t> UsUntilNextOutput(uint32_t nowTick, uint32_t) override;
    uint32_t StartRate() const override { return 9600; }

  private:
    using Queued = std::pair<uint32_t, char>;  // arrival tick and byte

    void SendAt(std::string_view bytes, uint32_t tick);
    void Hear(char byte, uint32_t nowTick);

    Clock& clock_;
    std::map<std::string, std::pair<std::string, uint32_t>> replies_;
    std::deque<Queued> queue_;  // by arrival tick
    std::string wire_;
    std::string line_;
    std::string heardAsleep_;
    std::vector<BreakEdge> breaks_;
    uint32_t rate_ = 9600;
};

}  // namespace brennix::sim
