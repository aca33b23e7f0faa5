#include "diagnostics/frame_decoder.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace brennix {

namespace {

constexpr size_t kCountFieldSize = 2;
// Per cell: three amplitudes and three cosine/sine pairs.
constexpr size_t kBytesPerCell = 9;
constexpr size_t kPairSize = 2;
constexpr uint8_t kChecksumSeed = static_cast<uint8_t>(0xA5 + kFrameSync);

constexpr double kSoundPathMetres = 750.0;
constexpr double kSamplesPerCycle = 96.0;
constexpr double kFirstCellMetres = 0.35;
constexpr float kFirstCellCounts = 24.0f;
constexpr float kCountsPerCell = 5.0f;

// Where beam b's amplitudes and pairs start among the data bytes after the count.
size_t AmplitudeOffset(size_t beam, size_t cells) {
    return beam * 3 * cells;
}
size_t PairOffset(size_t beam, size_t cells) {
    return AmplitudeOffset(beam, cells) + cells;
}

uint8_t Fold(uint8_t checksum, std::span<const uint8_t> block) {
    const unsigned sum = std::accumulate(block.begin(), block.end(), 0u);
    return static_cast<uint8_t>(2u * checksum + sum);
}

}  // namespace

uint8_t FrameChecksum(std::span<const uint8_t> body) {
    const size_t cells = (body.size() - kCountFieldSize) / kBytesPerCell;
    const std::span<const uint8_t> data = body.subspan(kCountFieldSize);
    uint8_t checksum = Fold(kChecksumSeed, body.first(kCountFieldSize));
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        checksum = Fold(checksum, data.subspan(AmplitudeOffset(beam, cells), cells));
    }
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        checksum = Fold(checksum, data.subspan(PairOffset(beam, cells), kPairSize * cells));
    }
    return checksum;
}

float CellRange(size_t index, const FrameRules& rules) {
    if (rules.travelTime) {
        return kFirstCellCounts + kCountsPerCell * static_cast<float>(index);
    }
    const double slant = rules.slantDegrees * std::numbers::pi / 180.0;
    const double spacing =
        kSoundPathMetres * std::cos(slant) / (rules.frequencyKhz * 1000.0 / kSamplesPerCycle);
    return static_cast<float>(kFirstCellMetres + static_cast<double>(index) * spacing);
}

std::optional<BeamFrame> DecodeInstrumentFrame(std::span<const uint8_t> received,
                                               const FrameRules& rules) {
    const auto sync = std::find(received.begin(), received.end(), kFrameSync);
    if (sync == received.end()) {
        return std::nullopt;
    }
    const std::span<const uint8_t> frame =
        received.subspan(static_cast<size_t>(sync - received.begin()) + 1);
    if (frame.size() < kCountFieldSize) {
        return std::nullopt;
    }
    const auto cells = static_cast<size_t>(frame[0] | (frame[1] << 8));
    if (cells > kMaxCells || frame.size() < kCountFieldSize + kBytesPerCell * cells + 1) {
        return std::nullopt;
    }
    const std::span<const uint8_t> body = frame.first(kCountFieldSize + kBytesPerCell * cells);
    if (rules.compareChecksum && FrameChecksum(body) != frame[body.size()]) {
        return std::nullopt;
    }
    const std::span<const uint8_t> data = body.subspan(kCountFieldSize);
    BeamFrame decoded;
    decoded.cells = cells;
    for (size_t cell = 0; cell < cells; ++cell) {
        decoded.range[cell] = CellRange(cell, rules);
    }
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        const std::span<const uint8_t> amplitudes =
            data.subspan(AmplitudeOffset(beam, cells), cells);
        const std::span<const uint8_t> pairs =
            data.subspan(PairOffset(beam, cells), kPairSize * cells);
        for (size_t cell = 0; cell < cells; ++cell) {
            decoded.amplitude[beam][cell] = amplitudes[cell];
            decoded.cosine[beam][cell] = pairs[kPairSize * cell];
            decoded.sine[beam][cell] = pairs[kPairSize * cell + 1];
        }
    }
    return decoded;
}

}  // namespace brennix
