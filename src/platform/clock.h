#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>

namespace brennix {

class StopEvent;

struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The system's millisecond tick count (32 bits, wrapping) and waiting on it.
//
// Threads: TickCount, Sleep and WaitForEvent may be called from any thread. Whoever starts a
// worker thread adopts it right after creating it, and the worker enters first and leaves last
// (Job does all three); a thread about to block on something other than the clock (a question
// answered by another thread) holds an OutsideClockWait for that time. These calls cost nothing
// on the system clock and let the virtual clock run several threads deterministically.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    virtual LocalDateTime LocalTime() = 0;
    // Waits until the event is set or ms have passed; true when it was set.
    virtual bool WaitForEvent(const StopEvent& event, uint32_t ms) = 0;

    virtual void AdoptThread(std::thread::id) {}
    virtual void EnterThread() {}
    virtual void LeaveThread() {}
    virtual void BeginOutsideWait() {}
    virtual void EndOutsideWait() {}
};

// Marks the calling thread as blocked outside the clock for the life of the object.
class OutsideClockWait {
  public:
    explicit OutsideClockWait(Clock& clock) : clock_(clock) { clock_.BeginOutsideWait(); }
    ~OutsideClockWait() { clock_.EndOutsideWait(); }
    OutsideClockWait(const OutsideClockWait&) = delete;
    OutsideClockWait& operator=(const OutsideClockWait&) = delete;

  private:
    Clock& clock_;
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
    bool WaitForEvent(const StopEvent& event, uint32_t ms) override;
};

// Test time. Sleep advances the tick instead of waiting, so long protocol sequences run in
// microseconds; the simulator is driven by the tick, so it acts as if the time had really passed.
//
// With worker threads the clock runs one thread at a time, like a discrete-event simulation: the
// thread that constructed the clock and every adopted thread take part; a sleeping thread hands
// over to the participant due first (ties go to the one in line first: joined or yielded
// earliest), and time moves on only when every participant sleeps. Which thread runs when is
// therefore the same on every run; only a thread that waits outside the clock comes back when the
// system wakes it.
class VirtualClock : public Clock {
  public:
    explicit VirtualClock(uint32_t startTick = 0);

    uint32_t TickCount() override;
    void Sleep(uint32_t ms) override;
    LocalDateTime LocalTime() override;
    bool WaitForEvent(const StopEvent& event, uint32_t ms) override;
    void AdoptThread(std::thread::id thread) override;
    void EnterThread() override;
    void LeaveThread() override;
    void BeginOutsideWait() override;
    void EndOutsideWait() override;

    void Advance(uint32_t ms);
    void SetLocalTime(const LocalDateTime& time);

  private:
    static constexpr int64_t kBlocked = INT64_MAX;

    struct Participant {
        uint64_t order = 0;
        int64_t dueMs = 0;  // when it wants to run next; kBlocked while outside the clock
    };

    // Gives the turn to the participant due first, moving time on to it when needed.
    void PassTurn();
    void AwaitTurn(std::unique_lock<std::mutex>& lock);
    // Lets the others due now run first; returns when the turn is back.
    void YieldTurn(std::unique_lock<std::mutex>& lock);
    bool TakesPart() const;

    std::mutex mutex_;
    std::condition_variable turnChanged_;
    int64_t nowMs_ = 0;
    uint32_t startTick_;
    uint64_t nextOrder_ = 0;
    std::map<std::thread::id, Participant> participants_;
    std::thread::id running_;
    LocalDateTime localTime_{2026, 1, 2, 3, 4, 5};
};

}  // namespace brennix
