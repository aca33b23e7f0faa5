#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace brennix {

inline constexpr size_t kBeamCount = 3;
inline constexpr size_t kMaxCells = 512;

template <typename T>
using PerBeamCells = std::array<std::array<T, kMaxCells>, kBeamCount>;

// One diagnostic frame as it arrived, from the instrument or a recording: the horizontal position
// of each cell and, per beam, the echo amplitude and the cosine and sine components of each cell.
// Cells from `cells` on stay zero.
struct BeamFrame {
    size_t cells = 0;
    std::array<float, kMaxCells> range{};
    PerBeamCells<uint8_t> amplitude{};
    PerBeamCells<uint8_t> cosine{};
    PerBeamCells<uint8_t> sine{};
};

}  // namespace brennix
