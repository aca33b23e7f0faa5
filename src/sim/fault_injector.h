#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brennix::sim {

// Spoils outgoing bytes as a bad line would, from a seeded generator so that tests repeat.
class FaultInjector {
  public:
    static constexpr uint32_t kDefaultSeed = 0x2545F491u;

    explicit FaultInjector(uint32_t seed = kDefaultSeed);

    // Flips each bit of bytes with probability bitErrorRate, as a noisy line does.
    std::string FlipBits(std::string_view bytes, double bitErrorRate);
    // What the host makes of bytes sent at another rate: noise that never holds a prompt or "OK".
    static std::string Misframe(std::string_view bytes);

  private:
    bool Chance(double rate);
    uint32_t NextRandom();

    uint32_t state_;
};

}  // namespace brennix::sim
