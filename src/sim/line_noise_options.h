#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "sim/simulated_instrument.h"

namespace brennix::sim {

// The noisy-line options of brennix-sim: --noise BER, --noise-all and --seed N. Takes the option
// at args[at] (and its value, advancing at) when it is one of them; false when it is not. A value
// that is missing or not acceptable leaves the reason in error.
bool ParseLineNoiseOption(const std::vector<std::string>& args, size_t& at, Settings& settings,
                          Faults& faults, std::string& error);

}  // namespace brennix::sim
