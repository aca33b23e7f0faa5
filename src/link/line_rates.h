#pragma once

#include <array>
#include <cstdint>

namespace brennix {

// The rates a technician may choose for the line, slowest first: the connect dialog offers them,
// and a download may switch to any of them.
inline constexpr std::array<uint32_t, 10> kLineRates = {300,  600,   1200,  2400,  4800,
                                                        9600, 19200, 38400, 57600, 115200};

}  // namespace brennix
