#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "diagnostics/beam_frame.h"

namespace brennix {

// What decoding an instrument's frame depends on: whether its checksum is trusted, and how a
// cell's index becomes its position along the beam.
struct FrameRules {
    bool compareChecksum = true;
    // Positions in travel-time counts (24 + 5 per cell) instead of metres.
    bool travelTime = false;
    double frequencyKhz = 1500.0;
    double slantDegrees = 25.0;
};

inline constexpr uint8_t kFrameSync = 0xB2;

// The checksum of a frame body: the two bytes of the cell count N followed by the 9 N data bytes
// (per beam its N amplitudes, then its N cosine/sine pairs). The caller passes a whole body.
uint8_t FrameChecksum(std::span<const uint8_t> body);

// The horizontal position of cell `index` under the rules.
float CellRange(size_t index, const FrameRules& rules);

// Decodes the first frame in what the instrument sent: everything up to and including the first
// sync byte is skipped. None when there is no sync byte, the cell count is above 512, the frame
// is cut short, or (when it is compared) the checksum does not match.
std::optional<BeamFrame> DecodeInstrumentFrame(std::span<const uint8_t> received,
                                               const FrameRules& rules);

}  // namespace brennix
