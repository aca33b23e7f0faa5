#include "sim/block_framer.h"

#include <numeric>

namespace brennix::sim {

namespace {

void AppendLittleEndian16(std::string& out, uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

}  // namespace

uint16_t BlockChecksum(std::span<const uint8_t> data) {
    return static_cast<uint16_t>(
        std::accumulate(data.begin(), data.end(), uint32_t{kBlockChecksumSeed}));
}

std::string FrameBlock(std::span<const uint8_t> data, const Faults& faults) {
    std::string frame;
    AppendLittleEndian16(frame, static_cast<uint16_t>(data.size() + 4));
    frame.append(data.begin(), data.end());
    const uint16_t checksum = BlockChecksum(data);
    AppendLittleEndian16(
        frame, faults.wrongBlockChecksum ? static_cast<uint16_t>(checksum ^ 0x0101) : checksum);
    return frame;
}

}  // namespace brennix::sim
