#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "diagnostics/beam_frame.h"

namespace brennix {

// The per-beam figures the window's table shows.
struct BeamFigures {
    using PerBeam = std::array<int32_t, kBeamCount>;
    // The smallest amplitude in the far half of the profile.
    PerBeam noise{};
    // The largest displayed amplitude among cells 27 to 41, and where it lies in counts.
    PerBeam peakLevel{};
    PerBeam peakPosition{};
    // Extremes of the cosine and sine bytes over the near half of the profile.
    PerBeam cosMin{};
    PerBeam cosMax{};
    PerBeam sinMin{};
    PerBeam sinMax{};
};

// Everything the window draws after one frame. Made once by the acquisition and never changed
// afterwards, so the window may hold it while the next frame is being decoded.
struct EcholuxSnapshot {
    // Frames decoded so far; 0 on a cleared display.
    uint32_t ping = 0;
    size_t cells = kMaxCells;
    std::array<float, kMaxCells> range{};
    PerBeamCells<float> amplitude{};
    PerBeamCells<float> cosine{};
    PerBeamCells<float> sine{};
    BeamFigures figures;
};

}  // namespace brennix
