#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace brennix {

// Framed binary blocks, as the instrument sends its configuration blocks and its recorder's
// directory and files: a 16-bit little-endian length word (the data length + 4), the data, and a
// 16-bit little-endian checksum word (0xA596 plus the byte sum of the data, modulo 65536).
// Readers take the parts as they arrive, so the functions work on each part; DecodeBlockFrame
// takes a whole frame at once.
inline constexpr uint16_t kBlockChecksumSeed = 0xA596;
inline constexpr size_t kFrameWordSize = 2;
inline constexpr size_t kFrameOverhead = 2 * kFrameWordSize;

uint16_t BlockChecksum(std::span<const uint8_t> data);
uint16_t ReadLittleEndian16(std::span<const uint8_t, kFrameWordSize> word);
// The number of data bytes a length word announces: the word minus the four framing bytes,
// modulo 65536 as the instrument's own arithmetic has it.
uint16_t AnnouncedDataLength(std::span<const uint8_t, kFrameWordSize> lengthWord);
bool ChecksumMatches(std::span<const uint8_t> data,
                     std::span<const uint8_t, kFrameWordSize> checksumWord);

enum class FrameStatus { kOk, kTruncated, kTooLong, kBadChecksum };

struct DecodedFrame {
    FrameStatus status = FrameStatus::kTruncated;
    std::span<const uint8_t> data;  // the data bytes of a good frame, inside the input
    size_t frameSize = 0;           // bytes the whole frame takes
};

// Decodes the frame at the start of bytes; a frame announcing more than maxData bytes is kTooLong
// and is not read further.
DecodedFrame DecodeBlockFrame(std::span<const uint8_t> bytes, size_t maxData);

}  // namespace brennix
