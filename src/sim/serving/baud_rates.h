#pragma once

#include <cstdint>
#include <optional>

#include <termios.h>

namespace brennix::sim {

// Between the numeric rates the instrument knows and the termios speed codes.
std::optional<speed_t> SpeedCodeOf(uint32_t baudRate);
std::optional<uint32_t> BaudRateOf(speed_t speedCode);

}  // namespace brennix::sim
