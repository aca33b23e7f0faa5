#include "sim/baud_rates.h"

#include <array>
#include <utility>

namespace brennix::sim {

namespace {

constexpr std::array<std::pair<uint32_t, speed_t>, 11> kRates = {{
    {300, B300},
    {600, B600},
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
}};

}  // namespace

std::optional<speed_t> SpeedCodeOf(uint32_t baudRate) {
    for (const auto& [rate, code] : kRates) {
        if (rate == baudRate) {
            return code;
        }
    }
    return std::nullopt;
}

std::optional<uint32_t> BaudRateOf(speed_t speedCode) {
    for (const auto& [rate, code] : kRates) {
        if (code == speedCode) {
            return rate;
        }
    }
    return std::nullopt;
}

}  // namespace brennix::sim
