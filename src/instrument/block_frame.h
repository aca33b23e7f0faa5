#pragma once

#include <cstdint>
#include <span>

namespace brennix {

// Framed binary blocks: a 16-bit little-endian length (data length + 4), the data, and a 16-bit
// little-endian checksum of 0xA596 plus the byte sum of the data.
inline constexpr uint16_t kBlockChecksumSeed = 0xA596;

uint16_t BlockChecksum(std::span<const uint8_t> data);
inline uint16_t BlockLengthField(size_t dataLength) {
    return static_cast<uint16_t>(dataLength + 4);
}
inline uint16_t ReadLittleEndian16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

}  // namespace brennix
