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

// The caption of the peak's position wherever it is shown: travel-time counts (24 + 5 per cell),
// whatever the horizontal axis is drawn in.
inline constexpr const char* kPeakPositionCaption = "Position (counts)";

// Everything shown after one frame, complete in itself: the figures, the profiles and the
// horizontal axis they are drawn against. Made once by the service and never changed afterwards,
// so a view may hold it while the next frame is decoded, and hand it on.
struct EcholuxSnapshot {
    // The frame's number: frames decoded since the start (or since playback began); 0 on a
    // cleared display.
    uint32_t ping = 0;
    // The horizontal axis: 0 to this span, in metres, or in travel-time counts.
    float horizontalSpan = 10.0f;
    bool travelTime = false;
    size_t cells = kMaxCells;
    std::array<float, kMaxCells> range{};
    PerBeamCells<float> amplitude{};
    PerBeamCells<float> cosine{};
    PerBeamCells<float> sine{};
    BeamFigures figures;

    const char* HorizontalCaption() const {
        return travelTime ? "Travel Time (counts)" : "Range (m)";
    }
};

}  // namespace brennix
