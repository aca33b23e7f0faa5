#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "sim/simulated_instrument.h"

namespace brennix::sim {

inline constexpr uint16_t kBlockChecksumSeed = 0xA596;

// 0xA596 plus the byte sum of the data, modulo 65536.
uint16_t BlockChecksum(std::span<const uint8_t> data);

// A block as the instrument frames it: the 16-bit little-endian length (data + 4), the data and
// the 16-bit little-endian checksum. The block faults spoil the length, the checksum, or cut the
// frame off halfway through the data.
std::string FrameBlock(std::span<const uint8_t> data, const Faults& faults = {});

}  // namespace brennix::sim
