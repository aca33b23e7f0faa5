#pragma once

#include <chrono>

namespace brennix {

// The milliseconds left until deadline, for a system wait that takes a time-out: rounded up, so
// that a wait of this long reaches the deadline instead of waking just before it; 0 once passed.
inline int RemainingMs(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace brennix
