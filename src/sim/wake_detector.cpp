#include "sim/wake_detector.h"

#include <string_view>

namespace brennix::sim {

namespace {

constexpr std::string_view kBreakLines = "  \r\n  \r\n";
constexpr std::string_view kPlusSigns = "++++++++++";

}  // namespace

WakeSignal WakeDetector::Take(uint8_t byte) {
    tail_.push_back(static_cast<char>(byte));
    if (tail_.size() > kPlusSigns.size()) {
        tail_.erase(0, tail_.size() - kPlusSigns.size());
    }
    const std::string_view tail = tail_;
    WakeSignal signal = WakeSignal::kNone;
    if (tail.ends_with(kBreakLines)) {
        signal = WakeSignal::kBreakLines;
    } else if (tail.ends_with(kPlusSigns)) {
        signal = WakeSignal::kPlusSigns;
    }
    if (signal != WakeSignal::kNone) {
        tail_.clear();
    }
    return signal;
}

void WakeDetector::Reset() {
    tail_.clear();
}

}  // namespace brennix::sim
