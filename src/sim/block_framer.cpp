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
    const auto length = static_cast<uint16_t>(data.size() + 4 + (faults.wrongBlockLength ? 2 : 0));
    AppendLittleEndian16(frame, length);
    const size_t sent = faults.shortBlock ? data.size() / 2 : data.size();
    frame.append(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(sent));
    if (faults.shortBlock) {
        return frame;
    }
    const uint16_t checksum = BlockChecksum(data);
    AppendLittleEndian16(
        frame, faults.wrongBlockChecksum ? static_cast<uint16_t>(checksum ^ 0x0101) : checksum);
    return frame;
}

}  // namespace brennix::sim
