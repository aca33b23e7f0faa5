#include "sim/serving/baud_rates.h"

#include <array>

#include "sim/line_rates.h"

namespace brennix::sim {

namespace {

// The termios code of each of the line's rates, in the same order.
constexpr std::array<speed_t, kLineRates.size()> kSpeedCodes = {
    B300, B600, B1200, B2400, B4800, B9600, B19200, B38400, B57600, B115200, B230400};

}  // namespace

std::optional<speed_t> SpeedCodeOf(uint32_t baudRate) {
    for (size_t i = 0; i < kLineRates.size(); ++i) {
        if (kLineRates[i] == baudRate) {
            return kSpeedCodes[i];
        }
    }
    return std::nullopt;
}

std::optional<uint32_t> BaudRateOf(speed_t speedCode) {
    for (size_t i = 0; i < kSpeedCodes.size(); ++i) {
        if (kSpeedCodes[i] == speedCode) {
            return kLineRates[i];
        }
    }
    return std::nullopt;
}

}  // namespace brennix::sim
