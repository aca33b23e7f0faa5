#include "instrument/block_frame.h"

namespace brennix {

uint16_t BlockChecksum(std::span<const uint8_t> data) {
    uint16_t sum = kBlockChecksumSeed;
    for (const uint8_t byte : data) {
        sum = static_cast<uint16_t>(sum + byte);
    }
    return sum;
}

}  // namespace brennix
