#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/output_window.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/serial_device.h"

namespace brennix::test {

// A port whose far end is a script: bytes arrive at given ticks (which may wrap), writes, BREAKs
// and purges are recorded, and the knobs make calls fail as a real port's would.
class FakeSerialDevice : public SerialDevice {
  public:
    static constexpr uint32_t kReadTimeoutMs = 50;  // what a short read waits, as a driver does

    explicit FakeSerialDevice(Clock& clock) : clock_(clock) {}

    void Arrive(const std::string& bytes, uint32_t tick) { arrivals_.push_back({tick, bytes}); }
    void Arrive(const std::string& bytes) { Arrive(bytes, clock_.TickCount()); }

    int openError = 0;  // non-zero: Open fails with it
    bool lost = false;  // a pulled adapter: every call on the open port fails
    bool setStateFails = false;
    std::optional<uint32_t> keptRate;  // a driver that keeps this rate whatever it is asked for
    std::optional<uint32_t> writesRefusedUntil;
    size_t maxBytesPerWrite = SIZE_MAX;
    bool waitsForInput = false;  // a port that can sleep until a byte arrives, as a tty can
    int inputWaits = 0;
    SerialState state;  // kept across opens, as a real port keeps its rate
    // Non-empty: a port that carries bytes only (raw TCP), with these limits in words; it keeps
    // the rate it was opened at and refuses a BREAK.
    std::string bytesOnly;

    std::string written;
    std::vector<std::pair<bool, uint32_t>> breaks;  // on/off and the tick
    std::vector<uint32_t> breakRates;               // the rate each BREAK went out at
    std::vector<uint32_t> purges;

    bool Open(const std::string&) override {
        if (openError != 0)
            return Fail(openError);
        open_ = true;
        lost = false;
        return true;
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    bool GetState(SerialState& out) override {
        out = state;
        return Usable();
    }
    bool SetState(const SerialState& in) override {
        if (!Usable() || setStateFails)
            return Fail(EINVAL);
        if (!bytesOnly.empty() && in.baudRate != state.baudRate)
            return Fail(ENOTSUP);
        state = in;
        state.baudRate = keptRate.value_or(in.baudRate);
        return true;
    }
    bool SetQueueSizes(size_t, size_t) override { return Usable(); }
    bool BytesWaiting(uint32_t& count) override {
        count = static_cast<uint32_t>(Collect().size());
        return Usable();
    }
    bool BytesPending(uint32_t& count) override {
        count = 0;
        return Usable();
    }
    bool WaitForInput(uint32_t ms) override {
        if (!waitsForInput || !Usable())
            return false;
        ++inputWaits;
        clock_.Sleep(ms);
        return true;
    }
    bool Read(uint8_t* buffer, size_t count, size_t& done) override {
        done = 0;
        if (!Usable())
            return false;
        if (Collect().size() < count)
            clock_.Sleep(kReadTimeoutMs);
        done = std::min(count, Collect().size());
        std::copy_n(received_.begin(), done, buffer);
        received_.erase(0, done);
        return true;
    }
    bool Write(const uint8_t* data, size_t count, size_t& done) override {
        done = 0;
        if (!Usable())
            return false;
        if (writesRefusedUntil && !Reached(*writesRefusedUntil))
            return Fail(EAGAIN);
        done = std::min(count, maxBytesPerWrite);
        written.append(reinterpret_cast<const char*>(data), done);
        return true;
    }
    bool Purge(uint32_t flags) override {
        if (!Usable())
            return false;
        purges.push_back(flags);
        if (flags & kPurgeRxClear)
            Collect().clear();
        return true;
    }
    bool SetBreak(bool on) override {
        if (!Usable())
            return false;
        if (!bytesOnly.empty())
            return Fail(ENOTSUP);
        breaks.emplace_back(on, clock_.TickCount());
        if (on)
            breakRates.push_back(state.baudRate);
        return true;
    }
    bool Exists(const std::string&) override { return true; }
    int LastError() const override { return lastError_; }
    std::string LastErrorMessage() const override {
        return lastError_ == ENOTSUP ? bytesOnly : std::strerror(lastError_);
    }
    PortCapabilities Capabilities() const override {
        return bytesOnly.empty() ? PortCapabilities{} : PortCapabilities{false, false, bytesOnly};
    }

  private:
    bool Fail(int error) {
        lastError_ = error;
        return false;
    }
    bool Usable() {
        if (!open_)
            return Fail(EBADF);
        return !lost || Fail(EIO);
    }
    bool Reached(uint32_t tick) { return static_cast<int32_t>(clock_.TickCount() - tick) >= 0; }
    std::string& Collect() {
        for (; !arrivals_.empty() && Reached(arrivals_.front().first); arrivals_.pop_front())
            received_ += arrivals_.front().second;
        return received_;
    }

    Clock& clock_;
    std::deque<std::pair<uint32_t, std::string>> arrivals_;
    std::string received_;
    bool open_ = false;
    int lastError_ = 0;
};

// A link opened on the fake port, echoing into a pane that starts empty.
struct FakeLine {
    static constexpr const char* kPort = "/dev/ttyFAKE0";

    explicit FakeLine(uint32_t startTick = 1000, bool open = true) : clock(startTick) {
        if (open)
            link.Open(kPort, 9600);
        link.Tap().SetOutputWindow(&pane);
        pane.SetText("");
    }

    VirtualClock clock;
    FakeSerialDevice device{clock};
    StringTerminalPane pane;
    CSerialLink link{device, clock};
};

}  // namespace brennix::test
