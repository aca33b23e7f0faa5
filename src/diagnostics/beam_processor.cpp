#include "diagnostics/beam_processor.h"

#include <algorithm>

namespace brennix {

namespace {

constexpr int32_t kNoiseStart = 1000;
constexpr int32_t kExtremeMinStart = 32768;
constexpr int32_t kExtremeMaxStart = -32768;
constexpr int32_t kFirstCellCounts = 24;
constexpr int32_t kCountsPerCell = 5;

int32_t FarHalfMinimum(const std::array<uint8_t, kMaxCells>& amplitudes, size_t cells) {
    int32_t noise = kNoiseStart;
    for (size_t cell = cells / 2; cell < cells; ++cell) {
        noise = std::min<int32_t>(noise, amplitudes[cell]);
    }
    return noise;
}

void NearHalfExtremes(const std::array<uint8_t, kMaxCells>& values, size_t cells, int32_t& minimum,
                      int32_t& maximum) {
    minimum = kExtremeMinStart;
    maximum = kExtremeMaxStart;
    for (size_t cell = 0; cell < cells / 2; ++cell) {
        minimum = std::min<int32_t>(minimum, values[cell]);
        maximum = std::max<int32_t>(maximum, values[cell]);
    }
}

void FindPeak(const std::array<float, kMaxCells>& amplitudes, int32_t& level, int32_t& position) {
    level = 0;
    size_t peakCell = 0;
    for (size_t cell = BeamProcessor::kPeakFirstCell; cell < BeamProcessor::kPeakEndCell; ++cell) {
        if (amplitudes[cell] > static_cast<float>(level)) {
            level = static_cast<int32_t>(amplitudes[cell]);
            peakCell = cell;
        }
    }
    position = kFirstCellCounts + kCountsPerCell * static_cast<int32_t>(peakCell);
}

}  // namespace

void BeamProcessor::SetAveraging(bool on) {
    averaging_ = on;
    averagingCount_ = 0;
    ClearDisplay();
}

void BeamProcessor::ClearDisplay() {
    for (auto& beam : accumulator_) {
        beam.fill(0);
    }
}

EcholuxSnapshot BeamProcessor::Process(const BeamFrame& frame) {
    ++ping_;
    ++averagingCount_;
    EcholuxSnapshot shown;
    shown.ping = ping_;
    shown.cells = frame.cells;
    shown.range = frame.range;
    Accumulate(frame, shown);
    BeamFigures& figures = shown.figures;
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        figures.noise[beam] = FarHalfMinimum(frame.amplitude[beam], frame.cells);
        FindPeak(shown.amplitude[beam], figures.peakLevel[beam], figures.peakPosition[beam]);
        NearHalfExtremes(frame.cosine[beam], frame.cells, figures.cosMin[beam],
                         figures.cosMax[beam]);
        NearHalfExtremes(frame.sine[beam], frame.cells, figures.sinMin[beam], figures.sinMax[beam]);
    }
    return shown;
}

// While averaging, the amplitudes are summed and shown divided (as whole numbers) by the frames
// summed; otherwise the last frame's amplitudes are shown as they are.
void BeamProcessor::Accumulate(const BeamFrame& frame, EcholuxSnapshot& shown) {
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        for (size_t cell = 0; cell < kMaxCells; ++cell) {
            uint32_t& sum = accumulator_[beam][cell];
            const uint8_t amplitude = frame.amplitude[beam][cell];
            sum =
                averaging_ ? static_cast<uint32_t>(static_cast<float>(sum) + amplitude) : amplitude;
            shown.amplitude[beam][cell] =
                static_cast<float>(averaging_ ? sum / averagingCount_ : sum);
            shown.cosine[beam][cell] = frame.cosine[beam][cell];
            shown.sine[beam][cell] = frame.sine[beam][cell];
        }
    }
}

}  // namespace brennix
