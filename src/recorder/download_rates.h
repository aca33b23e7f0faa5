#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace brennix {

// The rates a download may switch the line to, slowest first.
inline constexpr std::array<uint32_t, 10> kDownloadRates = {300,  600,   1200,  2400,  4800,
                                                            9600, 19200, 38400, 57600, 115200};

inline bool IsDownloadRate(uint32_t rate) {
    return std::find(kDownloadRates.begin(), kDownloadRates.end(), rate) != kDownloadRates.end();
}

}  // namespace brennix
