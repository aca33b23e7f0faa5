#include "sim/rs485_selector.h"

namespace brennix::sim {

Rs485Selector::Rs485Selector(uint32_t address) : address_(address), selected_(address == 0) {}

bool Rs485Selector::Take(uint8_t byte) {
    if (address_ == 0) {
        return true;
    }
    // After the three leading bytes, 0xF0 itself selects address 0: no instrument at all.
    if (prefixSeen_ >= kPrefixCount && (byte & 0xF0) == kSelectPrefix) {
        prefixSeen_ = 0;
        selected_ = byte == (kSelectPrefix | (address_ & 0xFF));
        return false;
    }
    if (byte == kSelectPrefix) {
        ++prefixSeen_;
        return false;
    }
    prefixSeen_ = 0;
    return selected_;
}

}  // namespace brennix::sim
