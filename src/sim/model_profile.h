#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "sim/simulated_instrument.h"

namespace brennix::sim {

// What sets the models apart on the line: the token in their banner, their firmware, the system
// type they report.
struct ModelProfile {
    Model model;
    std::string_view name;         // as the command line of brennix-sim names it
    std::string_view displayName;  // as the instrument calls itself
    std::string_view token;        // the one model token its "Ver" banner carries
    uint8_t cpuVersion;            // version × 10
    uint8_t systemType;            // 0 QZ, 1 VW, 2 JQ, 3 ZK, 4 WX, 5 LMR
    std::string_view serialNumber;
};

const ModelProfile& ProfileOf(Model model);
std::span<const ModelProfile> AllProfiles();
// The system type's name, as "systemtype" and "Show Conf" report it.
std::string_view SystemTypeName(uint8_t systemType);

}  // namespace brennix::sim
