#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/simulated_instrument.h"

namespace brennix::sim {

inline constexpr std::string_view kSimUsage =
    "usage: brennix-sim [--baud N] [--model NAME] [--asleep] [--sdi12] [--rs485 N] [--compass]\n"
    "                   [--firmware V] [--fault FAULT]...\n"
    "  NAME: KTX, LMR, Mirovan, Fendrel, MirovanAdv, Corvex, Pelorin\n"
    "  N for --rs485: an address from 1 to 15\n"
    "  V: the firmware version times 10 (38 for 3.8), 1 to 255\n"
    "  FAULT: no-compass, no-compass-score, frame-checksum, frame-truncated, frame-cells\n"
    "hardware: [--system-type QZ|VW|JQ|ZK|WX|LMR] [--frequency 3|1.5 (MHz)] [--without compass|sdi12]\n"
    "          [--with ext-pressure|waves] [--recorder-nearly-full]\n";

// The instrument that the arguments of brennix-sim describe (without the program name); none,
// with the reason in error, when they are not understood.
std::optional<Settings> ParseSimArguments(const std::vector<std::string>& args, std::string& error);
// The same, with the faults that --fault asks for.
std::optional<Settings> ParseSimArguments(const std::vector<std::string>& args, std::string& error,
                                          Faults& faults);

}  // namespace brennix::sim
