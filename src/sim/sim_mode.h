#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace brennix::sim {

struct Reply;

// What a mode may ask of the instrument around it.
class ModeHost {
  public:
    virtual ~ModeHost() = default;

    // Sends bytes that start leaving at atMs (a scheduled line of a streaming mode, say).
    virtual void Emit(std::string_view bytes, int64_t atMs) = 0;
    // Sends an answer after the instrument's reply delay.
    virtual void Answer(std::string_view text, int64_t nowMs) = 0;
    // Sends a recorder transfer's block frame as an answer; the noisy line acts here.
    virtual void AnswerFrame(std::string_view frame, int64_t nowMs) = 0;
    // Sends the echo of typed characters; the garbled-echo fault acts here.
    virtual void Echo(std::string echo, int64_t nowMs) = 0;
    // Runs one command line of the command mode.
    virtual Reply Execute(std::string_view line, int64_t nowMs) = 0;
    // Wakes up: the banner, then the command mode.
    virtual void Wake(int64_t nowMs) = 0;
    // A BREAK ended while in a mode that a BREAK wakes from.
    virtual void WakeOnBreak(int64_t nowMs) = 0;
    // Two blank lines just before a BREAK woke the instrument.
    virtual void NoteWakeByBreakLines(int64_t nowMs) = 0;
    // The next mode, which takes over once the current call returns.
    virtual void SwitchTo(std::unique_ptr<class SimMode> next) = 0;
    // The instrument's own line rate from now on; what it has sent already keeps its rate.
    virtual void SetLineRate(uint32_t baudRate) = 0;
    // Stops sending: what has not left the instrument by nowMs is dropped.
    virtual void StopSending(int64_t nowMs) = 0;
};

// What the instrument does with what it hears, one mode at a time: asleep, the command line,
// SDI-12, and the modes of longer exchanges that the commands start. A mode may also produce
// output of its own as time passes.
class SimMode {
  public:
    virtual ~SimMode() = default;

    // The mode takes over, after everything the previous mode answered.
    virtual void Enter(int64_t /*nowMs*/) {}
    // One received byte that passed the rate check and the RS-485 selection.
    virtual void Take(uint8_t byte, int64_t nowMs) = 0;
    // A BREAK ended.
    virtual void Break(int64_t nowMs) = 0;
    // Time has passed: sends what is due by nowMs.
    virtual void Advance(int64_t /*nowMs*/) {}
    // When Advance next has something to send; none while the mode only waits for input.
    virtual std::optional<int64_t> NextEventMs() const { return std::nullopt; }
    // Whether the instrument falls asleep when idle in this mode.
    virtual bool SleepsWhenIdle() const { return false; }
};

// What the instrument answers to one command line, and the mode it goes on in.
struct Reply {
    std::string text;  // everything after the echo, the prompt included when there is one
    // The mode that follows; none: the command mode goes on.
    std::unique_ptr<SimMode> next = nullptr;
};

}  // namespace brennix::sim
