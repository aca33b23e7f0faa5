#include "platform/clock.h"

#include <algorithm>
#include <chrono>
#include <ctime>

#include "platform/calendar_time.h"
#include "platform/stop_event.h"

namespace brennix {

uint32_t SystemClock::TickCount() {
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}

void SystemClock::Sleep(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

LocalDateTime SystemClock::LocalTime() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto sinceSecond = now - std::chrono::system_clock::from_time_t(seconds);
    const std::tm parts = LocalCalendarTime(seconds);
    return {parts.tm_year + 1900,
            parts.tm_mon + 1,
            parts.tm_mday,
            parts.tm_hour,
            parts.tm_min,
            parts.tm_sec,
            static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(sinceSecond).count())};
}

bool SystemClock::WaitForEvent(const StopEvent& event, uint32_t ms) {
    return event.WaitFor(ms);
}

VirtualClock::VirtualClock(uint32_t startTick) : startTick_(startTick) {
    participants_[std::this_thread::get_id()] = {nextOrder_++, 0};
    running_ = std::this_thread::get_id();
}

uint32_t VirtualClock::TickCount() {
    std::lock_guard lock(mutex_);
    return static_cast<uint32_t>(startTick_ + static_cast<uint64_t>(nowMs_));
}

LocalDateTime VirtualClock::LocalTime() {
    std::lock_guard lock(mutex_);
    return localTime_;
}

void VirtualClock::SetLocalTime(const LocalDateTime& time) {
    std::lock_guard lock(mutex_);
    localTime_ = time;
}

void VirtualClock::Advance(uint32_t ms) {
    std::lock_guard lock(mutex_);
    nowMs_ += ms;
}

bool VirtualClock::TakesPart() const {
    return participants_.count(std::this_thread::get_id()) != 0;
}

// A thread that does not take part (or is alone) just moves time on, as a single-threaded test
// expects.
void VirtualClock::Sleep(uint32_t ms) {
    std::unique_lock lock(mutex_);
    if (!TakesPart() || participants_.size() == 1) {
        nowMs_ += ms;
        return;
    }
    participants_[std::this_thread::get_id()].dueMs = nowMs_ + ms;
    PassTurn();
    AwaitTurn(lock);
}

// Alone, nobody else could set the event: the whole time passes at once. Otherwise the others
// due now run first, so an event they set now is seen now.
bool VirtualClock::WaitForEvent(const StopEvent& event, uint32_t ms) {
    for (uint32_t waited = 0;; ++waited) {
        if (event.IsSet()) {
            return true;
        }
        {
            std::unique_lock lock(mutex_);
            if (participants_.size() <= 1 || !TakesPart()) {
                nowMs_ += ms - waited;
                return event.IsSet();
            }
            YieldTurn(lock);
        }
        if (event.IsSet()) {
            return true;
        }
        if (waited >= ms) {
            return false;
        }
        Sleep(1);
    }
}

void VirtualClock::YieldTurn(std::unique_lock<std::mutex>& lock) {
    const std::thread::id self = std::this_thread::get_id();
    const std::pair<const std::thread::id, Participant>* next = nullptr;
    for (const auto& entry : participants_) {
        if (entry.first != self && entry.second.dueMs <= nowMs_ &&
            (!next || entry.second.order < next->second.order)) {
            next = &entry;
        }
    }
    if (!next) {
        return;
    }
    // Back in line behind everyone due now.
    participants_[self] = {nextOrder_++, nowMs_};
    running_ = next->first;
    turnChanged_.notify_all();
    AwaitTurn(lock);
}

// Adopted before it may run, so the starting thread keeps the turn until it sleeps whatever the
// scheduler does with the new thread.
void VirtualClock::AdoptThread(std::thread::id thread) {
    std::lock_guard lock(mutex_);
    participants_[thread] = {nextOrder_++, nowMs_};
}

void VirtualClock::EnterThread() {
    std::unique_lock lock(mutex_);
    AwaitTurn(lock);
}

void VirtualClock::LeaveThread() {
    std::lock_guard lock(mutex_);
    participants_.erase(std::this_thread::get_id());
    PassTurn();
}

void VirtualClock::BeginOutsideWait() {
    std::lock_guard lock(mutex_);
    if (TakesPart()) {
        participants_[std::this_thread::get_id()].dueMs = kBlocked;
        PassTurn();
    }
}

void VirtualClock::EndOutsideWait() {
    std::unique_lock lock(mutex_);
    if (!TakesPart()) {
        return;
    }
    participants_[std::this_thread::get_id()].dueMs = nowMs_;
    if (running_ == std::thread::id()) {
        PassTurn();
    }
    AwaitTurn(lock);
}

void VirtualClock::PassTurn() {
    const std::pair<const std::thread::id, Participant>* next = nullptr;
    for (const auto& entry : participants_) {
        const Participant& p = entry.second;
        if (p.dueMs == kBlocked) {
            continue;
        }
        if (!next || p.dueMs < next->second.dueMs ||
            (p.dueMs == next->second.dueMs && p.order < next->second.order)) {
            next = &entry;
        }
    }
    if (!next) {
        running_ = std::thread::id();  // everyone waits outside the clock
    } else {
        nowMs_ = std::max(nowMs_, next->second.dueMs);
        running_ = next->first;
    }
    turnChanged_.notify_all();
}

void VirtualClock::AwaitTurn(std::unique_lock<std::mutex>& lock) {
    turnChanged_.wait(lock, [this] { return running_ == std::this_thread::get_id(); });
}

}  // namespace brennix
