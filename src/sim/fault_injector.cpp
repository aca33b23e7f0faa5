#include "sim/fault_injector.h"

namespace brennix::sim {

FaultInjector::FaultInjector(uint32_t seed) : state_(seed == 0 ? 1 : seed) {}

std::string FaultInjector::FlipBits(std::string_view bytes, double bitErrorRate) {
    std::string out(bytes);
    if (bitErrorRate <= 0.0) {
        return out;
    }
    for (char& c : out) {
        for (int bit = 0; bit < 8; ++bit) {
            if (Chance(bitErrorRate)) {
                c = static_cast<char>(c ^ (1 << bit));
            }
        }
    }
    return out;
}

std::string FaultInjector::Misframe(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        // Setting the top bit keeps every byte out of the printable range.
        out.push_back(static_cast<char>(0x80 | ((static_cast<uint8_t>(c) * 37 + 11) & 0x7F)));
    }
    return out;
}

bool FaultInjector::Chance(double rate) {
    if (rate <= 0.0) {
        return false;
    }
    return NextRandom() < rate * 4294967296.0;
}

uint32_t FaultInjector::NextRandom() {
    // xorshift32: tiny, fast and the same on every platform.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

}  // namespace brennix::sim
