#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_device.h"

namespace brennix::test {

// A serial device whose far end is a script: bytes arrive at given ticks, writes and BREAKs are
// recorded with the tick they happened at, and every call can be made to fail.
class FakeSerialDevice : public SerialDevice {
  public:
    static constexpr uint32_t kReadTimeoutMs = 50;  // the "driver" time-out of a short read
    static constexpr int kLostPortError = EIO;

    struct BreakEvent {
        bool on;
        uint32_t tick;
    };

    explicit FakeSerialDevice(Clock& clock) : clock_(clock) {}

    // Far end.
    // Arrivals are given in time order; ticks may wrap.
    void Arrive(const std::string& bytes, uint32_t atTick) { arrivals_.push_back({atTick, bytes}); }
    void Arrive(const std::string& bytes) { Arrive(bytes, clock_.TickCount()); }

    // Knobs.
    bool openFails = false;
    int openError = ENOENT;
    bool lost = false;  // GetState, queue counts and reads fail as on a pulled adapter
    bool setStateFails = false;
    bool queueSizesFail = false;
    bool breakFails = false;
    // Writes fail until the clock reaches tick.
    void RefuseWritesUntil(uint32_t tick) {
        writesRefused_ = true;
        writesAcceptedFrom_ = tick;
    }
    size_t maxBytesPerWrite = SIZE_MAX;
    SerialState state;  // what the port reports, kept across opens like a real port

    // Record.
    std::string written;
    std::vector<uint32_t> writeTicks;
    std::vector<BreakEvent> breaks;
    std::vector<uint32_t> purges;
    std::vector<std::string> openedNames;
    int readCalls = 0;

    bool Open(const std::string& name) override {
        openedNames.push_back(name);
        if (openFails)
            return Fail(openError);
        open_ = true;
        lost = false;
        return true;
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    bool GetState(SerialState& out) override {
        if (!Usable())
            return false;
        out = state;
        return true;
    }
    bool SetState(const SerialState& in) override {
        if (!Usable() || setStateFails)
            return Fail(EINVAL);
        state = in;
        return true;
    }
    bool SetQueueSizes(size_t, size_t) override { return Usable() && !queueSizesFail; }
    bool BytesWaiting(uint32_t& count) override {
        count = 0;
        if (!Usable())
            return false;
        Collect();
        count = static_cast<uint32_t>(received_.size());
        return true;
    }
    bool BytesPending(uint32_t& count) override {
        count = 0;
        return Usable();
    }
    bool Read(uint8_t* buffer, size_t count, size_t& done) override {
        ++readCalls;
        done = 0;
        if (!Usable())
            return false;
        Collect();
        if (received_.size() < count) {
            clock_.Sleep(kReadTimeoutMs);
            Collect();
        }
        done = std::min(count, received_.size());
        std::copy_n(received_.begin(), done, buffer);
        received_.erase(received_.begin(), received_.begin() + static_cast<std::ptrdiff_t>(done));
        return true;
    }
    bool Write(const uint8_t* data, size_t count, size_t& done) override {
        done = 0;
        if (!Usable())
            return false;
        if (writesRefused_ && !Reached(writesAcceptedFrom_))
            return Fail(EAGAIN);
        done = std::min(count, maxBytesPerWrite);
        written.append(reinterpret_cast<const char*>(data), done);
        writeTicks.push_back(clock_.TickCount());
        return true;
    }
    bool Purge(uint32_t flags) override {
        if (!Usable())
            return false;
        purges.push_back(flags);
        if (flags & kPurgeRxClear) {
            Collect();
            received_.clear();
        }
        return true;
    }
    bool SetBreak(bool on) override {
        if (!Usable() || breakFails)
            return Fail(EIO);
        breaks.push_back({on, clock_.TickCount()});
        return true;
    }
    bool Exists(const std::string& name) override { return name.rfind("/dev/", 0) == 0; }
    int LastError() const override { return lastError_; }
    std::string LastErrorMessage() const override { return std::strerror(lastError_); }

  private:
    bool Fail(int error) {
        lastError_ = error;
        return false;
    }
    bool Usable() {
        if (!open_)
            return Fail(EBADF);
        if (lost)
            return Fail(kLostPortError);
        return true;
    }
    bool Reached(uint32_t tick) { return static_cast<int32_t>(clock_.TickCount() - tick) >= 0; }
    void Collect() {
        while (!arrivals_.empty() && Reached(arrivals_.front().tick)) {
            received_.insert(received_.end(), arrivals_.front().bytes.begin(),
                             arrivals_.front().bytes.end());
            arrivals_.pop_front();
        }
    }

    Clock& clock_;
    struct Arrival {
        uint32_t tick;
        std::string bytes;
    };
    std::deque<Arrival> arrivals_;
    bool writesRefused_ = false;
    uint32_t writesAcceptedFrom_ = 0;
    std::deque<uint8_t> received_;
    bool open_ = false;
    int lastError_ = 0;
};

}  // namespace brennix::test
