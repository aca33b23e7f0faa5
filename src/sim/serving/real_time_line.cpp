#include "sim/serving/real_time_line.h"

#include <algorithm>

namespace brennix::sim {

namespace {

constexpr uint32_t kUsPerSecond = 1'000'000;
constexpr long kNsPerUs = 1000;

}  // namespace

RealTimeLine::Instant RealTimeLine::Now() const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - start_)
                             .count();
    return {static_cast<uint32_t>(elapsed / 1000), static_cast<uint32_t>(elapsed % 1000)};
}

std::string RealTimeLine::TakeDue() {
    const Instant now = Now();
    std::string due(line_.HostAvailable(now.tick, now.microsecond), '\0');
    line_.HostRead(reinterpret_cast<uint8_t*>(due.data()), due.size(), now.tick, now.microsecond);
    return due;
}

std::optional<timespec> RealTimeLine::UntilNextOutput() {
    const Instant now = Now();
    const std::optional<uint32_t> waitUs = line_.UsUntilNextOutput(now.tick, now.microsecond);
    if (!waitUs) {
        return std::nullopt;
    }
    const uint32_t us = std::max<uint32_t>(*waitUs, 1);
    return timespec{static_cast<time_t>(us / kUsPerSecond),
                    static_cast<long>(us % kUsPerSecond) * kNsPerUs};
}

void RealTimeLine::Write(const uint8_t* data, size_t count) {
    const Instant now = Now();
    line_.HostWrite(data, count, now.tick, now.microsecond);
}

}  // namespace brennix::sim
