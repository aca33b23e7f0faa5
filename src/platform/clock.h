#pragma once

#include <atomic>
#include <cstdint>

namespace brennix {

struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The system's millisecond tick count (32 bits, wrapping) and sleeping on it.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    virtual LocalDateTime LocalTime() = 0;
};

// A time-out has expired when the unsigned time since its start is greater than the time-out, so
// a wrap of the tick counter in between is harmless and the exact time-out has not yet expired.
inline bool HasExpired(uint32_t startTick, uint32_t nowTick, uint32_t timeoutMs) {
    return static_cast<uint32_t>(nowTick - startTick) > timeoutMs;
}

class SystemClock : public Clock {
  public:
    uint32_t TickCount() override;
    void Sleep(uint32_t ms) override;
    LocalDateTime LocalTime() override;
};

// Test time: Sleep advances the tick at once, so long protocol sequences run in microseconds.
// The simulator is driven by the tick, so it acts as if the time had really passed.
class VirtualClock : public Clock {
  public:
    explicit VirtualClock(uint32_t startTick = 0) : tick_(startTick) {}

    uint32_t TickCount() override { return tick_.load(); }
    void Sleep(uint32_t ms) override { tick_ += ms; }
    LocalDateTime LocalTime() override { return localTime_; }

    void Advance(uint32_t ms) { tick_ += ms; }
    void SetLocalTime(const LocalDateTime& time) { localTime_ = time; }

  private:
    std::atomic<uint32_t> tick_;
    LocalDateTime localTime_{2026, 1, 2, 3, 4, 5};
};

}  // namespace brennix
