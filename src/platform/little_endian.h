#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace brennix {

// Little-endian integers at any offset of a byte buffer, read and written byte by byte: the
// instrument's records put many of them at odd offsets, where an aligned load would be wrong.
// The caller keeps offset + width within the buffer.

inline uint16_t ReadU16(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline int16_t ReadS16(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<int16_t>(ReadU16(bytes, offset));
}

inline uint32_t ReadU32(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

inline int32_t ReadS32(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<int32_t>(ReadU32(bytes, offset));
}

inline int8_t ReadS8(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<int8_t>(bytes[offset]);
}

inline void WriteU16(std::span<uint8_t> bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline void WriteU32(std::span<uint8_t> bytes, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace brennix
