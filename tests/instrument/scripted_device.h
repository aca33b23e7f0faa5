#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/clock.h"
#include "platform/serial_device.h"

namespace brennix::test {

// A serial port whose far end is the test: it records every byte the host writes (a BREAK shows
// as "<BREAK>"), lets the test react to each byte and BREAK, and hands queued bytes to the host
// once the clock reaches their arrival tick.
class ScriptedDevice : public SerialDevice {
  public:
    explicit ScriptedDevice(Clock& clock) : clock_(clock) {}

    std::function<void(uint8_t byte)> onByte;
    std::function<void()> onBreak;
    // Decides each purge; when unset every purge succeeds.
    std::function<bool(uint32_t flags)> purgeResult;
    bool breakFails = false;
    bool writesRefused = false;

    // Makes bytes readable by the host delayMs from now.
    void Send(std::string_view bytes, uint32_t delayMs = 0);
    const std::string& Wire() const { return wire_; }
    void ClearWire() { wire_.clear(); }
    // Bytes queued for the host, whether they have arrived yet or not.
    size_t Queued() const { return queue_.size(); }

    bool Open(const std::string& name) override;
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    bool GetState(SerialState& state) override;
    bool SetState(const SerialState& state) override;
    bool SetQueueSizes(size_t, size_t) override { return true; }
    bool BytesWaiting(uint32_t& count) override;
    bool BytesPending(uint32_t& count) override;
    bool Read(uint8_t* buffer, size_t count, size_t& done) override;
    bool Write(const uint8_t* data, size_t count, size_t& done) override;
    bool Purge(uint32_t flags) override;
    bool SetBreak(bool on) override;
    bool Exists(const std::string&) override { return true; }
    int LastError() const override { return kErrorNone; }
    std::string LastErrorMessage() const override { return {}; }

  private:
    size_t Arrived() const;

    Clock& clock_;
    std::deque<std::pair<uint32_t, uint8_t>> queue_;  // by arrival tick
    std::string wire_;
    SerialState state_;
    bool open_ = false;
};

}  // namespace brennix::test
