#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace brennix::sim {

// The rates a simulated instrument's line runs at, slowest first.
inline constexpr std::array<uint32_t, 11> kLineRates = {300,   600,   1200,  2400,   4800,  9600,
                                                        19200, 38400, 57600, 115200, 230400};

inline bool IsLineRate(uint32_t rate) {
    return std::find(kLineRates.begin(), kLineRates.end(), rate) != kLineRates.end();
}

}  // namespace brennix::sim
