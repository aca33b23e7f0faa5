#include "instrument/block_frame.h"

namespace brennix {

uint16_t BlockChecksum(std::span<const uint8_t> data) {
    uint16_t sum = kBlockChecksumSeed;
    for (const uint8_t byte : data) {
        sum = static_cast<uint16_t>(sum + byte);
    }
    return sum;
}

uint16_t ReadLittleEndian16(std::span<const uint8_t, kFrameWordSize> word) {
    return static_cast<uint16_t>(word[0] | (word[1] << 8));
}

uint16_t AnnouncedDataLength(std::span<const uint8_t, kFrameWordSize> lengthWord) {
    return static_cast<uint16_t>(ReadLittleEndian16(lengthWord) - kFrameOverhead);
}

bool ChecksumMatches(std::span<const uint8_t> data,
                     std::span<const uint8_t, kFrameWordSize> checksumWord) {
    return ReadLittleEndian16(checksumWord) == BlockChecksum(data);
}

DecodedFrame DecodeBlockFrame(std::span<const uint8_t> bytes, size_t maxData) {
    if (bytes.size() < kFrameWordSize) {
        return {FrameStatus::kTruncated, {}, 0};
    }
    const size_t length = AnnouncedDataLength(bytes.first<kFrameWordSize>());
    if (length > maxData) {
        return {FrameStatus::kTooLong, {}, 0};
    }
    const size_t frameSize = length + kFrameOverhead;
    if (bytes.size() < frameSize) {
        return {FrameStatus::kTruncated, {}, 0};
    }
    const std::span<const uint8_t> data = bytes.subspan(kFrameWordSize, length);
    if (!ChecksumMatches(data, bytes.subspan(kFrameWordSize + length).first<kFrameWordSize>())) {
        return {FrameStatus::kBadChecksum, {}, frameSize};
    }
    return {FrameStatus::kOk, data, frameSize};
}

}  // namespace brennix
