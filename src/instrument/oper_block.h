#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace brennix {

// The operating parameters, the 64 bytes "get Oper" returns; only the profiling and SDI-12
// fields mean something to the program, the rest is kept as it came.
class OperBlock {
  public:
    static constexpr size_t kSize = 64;

    OperBlock() { bytes_.fill(0); }
    explicit OperBlock(std::span<const uint8_t, kSize> bytes);

    std::span<const uint8_t, kSize> Bytes() const { return bytes_; }

    // Non-zero: profiling on.
    int8_t ProfilingMode() const;
    int8_t ProfileCells() const;
    // 0 Ostrel, 1 Tandrel.
    int8_t Sdi12Format() const;
    void SetSdi12Format(int8_t format);

  private:
    std::array<uint8_t, kSize> bytes_;
};

}  // namespace brennix
