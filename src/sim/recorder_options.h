#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "sim/simulated_instrument.h"

namespace brennix::sim {

// The recorder's options of brennix-sim: --recorder-dir and the recorder faults. Takes the option
// at args[at] (and its value, advancing at) when it is one of them; false when it is not. A value
// that is missing or not acceptable leaves the reason in error.
bool ParseRecorderOption(const std::vector<std::string>& args, size_t& at, Settings& settings,
                         Faults& faults, std::string& error);

}  // namespace brennix::sim
