#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "platform/clock.h"
#include "platform/serial_device.h"

namespace brennix::test {

// A serial port whose far end is a simple scripted instrument. It records every byte the host
// writes (a BREAK shows as "<BREAK>") and hands queued bytes to the host once the clock reaches
// their arrival tick. Awake, it echoes every byte but CR and LF and answers each line with the
// reply its table holds, prompt included (other lines get a line end and the prompt); asleep it
// hears nothing but its wake word.
class ScriptedDevice : public SerialDevice {
  public:
    explicit ScriptedDevice(Clock& clock) : clock_(clock) {}

    std::map<std::string, std::string> replies;
    // How long after hearing its CR the reply to a line arrives; at once when not given.
    std::map<std::string, uint32_t> replyDelays;
    bool awake = true;
    std::string wakeWord;
    std::string breakReply;  // sent 100 ms after each BREAK
    int garbledEchoes = 0;   // this many echoed bytes arrive as '#'
    int failingPurge = 0;    // the nth purge from now fails
    bool breakFails = false;
    bool writesRefused = false;

    // Makes bytes readable by the host delayMs from now.
    void Send(std::string_view bytes, uint32_t delayMs = 0);
    const std::string& Wire() const { return wire_; }
    void ClearWire() { wire_.clear(); }
    // Takes every queued byte, arrived or not.
    std::string TakeQueued();

    bool Open(const std::string&) override { return open_ = true; }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    bool GetState(SerialState& state) override {
        state = state_;
        return open_;
    }
    bool SetState(const SerialState& state) override {
        state_ = state;
        return open_;
    }
    bool SetQueueSizes(size_t, size_t) override { return true; }
    bool BytesWaiting(uint32_t& count) override {
        count = Arrived();
        return open_;
    }
    bool BytesPending(uint32_t& count) override {
        count = 0;
        return open_;
    }
    bool Read(uint8_t* buffer, size_t count, size_t& done) override;
    bool Write(const uint8_t* data, size_t count, size_t& done) override;
    bool Purge(uint32_t flags) override;
    bool SetBreak(bool on) override;
    bool Exists(const std::string&) override { return true; }
    int LastError() const override { return kErrorNone; }
    std::string LastErrorMessage() const override { return {}; }

  private:
    using Queued = std::pair<uint32_t, char>;  // arrival tick and byte

    uint32_t Arrived() const;
    void Hear(char byte);

    Clock& clock_;
    std::deque<Queued> queue_;  // by arrival tick
    std::string wire_;
    std::string line_;
    std::string heardAsleep_;
    SerialState state_;
    bool open_ = false;
};

}  // namespace brennix::test
