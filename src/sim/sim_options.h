#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/simulated_instrument.h"

namespace brennix::sim {

inline constexpr std::string_view kSimUsage =
    "usage: brennix-sim [--baud N] [--model NAME] [--asleep] [--sdi12] [--rs485 N] [--compass]\n"
    "  NAME: KTX, LMR, Mirovan, Fendrel, MirovanAdv, Corvex, Pelorin\n"
    "  N for --rs485: an address from 1 to 15\n"
    "hardware: [--system-type QZ|VW|JQ|ZK|WX|LMR] [--frequency 3|1.5] [--without compass|sdi12]\n"
    "          [--with ext-pressure|waves] [--recorder-nearly-full]\n";

// The instrument that the arguments of brennix-sim describe (without the program name); none,
// with the reason in error, when they are not understood.
std::optional<Settings> ParseSimArguments(const std::vector<std::string>& args, std::string& error);

}  // namespace brennix::sim
