#include "sim/diagnostic_frame.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace brennix::sim {

namespace {

constexpr int kTravelTimeSystemType = 5;
constexpr size_t kTravelTimeCells = 146;  // 24 + 5 × 145 counts fill a 750-count span
constexpr size_t k3000kHzCells = 512;
constexpr size_t k1500kHzCells = 498;  // about 22 m along a 25° beam
constexpr size_t kTooManyCells = 513;
constexpr uint8_t kMirovanChecksumFromVersion = 57;
constexpr uint8_t kTravelTimeChecksumFromVersion = 116;
constexpr uint8_t kChecksumSeed = static_cast<uint8_t>(0xA5 + DiagnosticFrame::kSync);
constexpr size_t kBeams = 3;
constexpr double kSignalAboveNoise = 12.0;

// A repeatable noise source per ping.
class Noise {
  public:
    explicit Noise(uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
    double Next(double range) {
        state_ = state_ * 1664525u + 1013904223u;
        return range * static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24);
    }

  private:
    uint32_t state_;
};

uint8_t Byte(double value) {
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// Ringing close to the transducer, an echo around cell 31 to 37 and the noise floor beyond.
uint8_t Amplitude(size_t beam, size_t cell, double floor, Noise& noise) {
    const double c = static_cast<double>(cell);
    const double b = static_cast<double>(beam);
    const double ringing = 190.0 * std::exp(-c / 4.0);
    const double echoCentre = 31.0 + 3.0 * b;
    const double echo = (150.0 + 10.0 * b + noise.Next(8.0)) *
                        std::exp(-(c - echoCentre) * (c - echoCentre) / 18.0);
    const double scatter = 60.0 * std::exp(-c / 30.0);
    return Byte(floor + noise.Next(6.0) + std::max({ringing, echo, scatter}));
}

int TypeOf(const ConfigBlocks& blocks) {
    return static_cast<int>(blocks.ReadInt(fields::kSystemCode) / 16);
}

// The per-beam blocks in the frame's order: amplitudes, then cosine/sine pairs.
std::string Data(size_t cells, uint32_t ping) {
    Noise noise(ping);
    std::string data;
    data.reserve(9 * cells);
    for (size_t beam = 0; beam < kBeams; ++beam) {
        const double floor = 20.0 + 2.0 * static_cast<double>(beam);
        std::string amplitudes;
        std::string pairs;
        for (size_t cell = 0; cell < cells; ++cell) {
            const uint8_t amplitude = Amplitude(beam, cell, floor, noise);
            amplitudes.push_back(static_cast<char>(amplitude));
            const double signal = amplitude - floor;
            const double swing = 0.45 * signal + 4.0 + noise.Next(4.0);
            // An echo keeps its phase from cell to cell; noise has none.
            const double phase =
                signal > kSignalAboveNoise
                    ? 0.35 * static_cast<double>(cell) + 0.8 * ping + static_cast<double>(beam)
                    : noise.Next(2.0 * std::numbers::pi);
            pairs.push_back(static_cast<char>(Byte(128.0 + swing * std::cos(phase))));
            pairs.push_back(static_cast<char>(Byte(128.0 + swing * std::sin(phase))));
        }
        data += amplitudes + pairs;
    }
    return data;
}

}  // namespace

size_t DiagnosticFrame::CellCount(const ConfigBlocks& blocks) {
    if (TypeOf(blocks) == kTravelTimeSystemType) {
        return kTravelTimeCells;
    }
    return blocks.ReadInt(fields::kSystemCode) % 16 == 0 ? k3000kHzCells : k1500kHzCells;
}

bool DiagnosticFrame::ComputesChecksum(Model model, const ConfigBlocks& blocks) {
    const auto version = static_cast<uint8_t>(blocks.ReadInt(fields::kCpuVersion));
    if (model == Model::kMirovan && version < kMirovanChecksumFromVersion) {
        return false;
    }
    return TypeOf(blocks) != kTravelTimeSystemType || version >= kTravelTimeChecksumFromVersion;
}

// Starting from 0xA5 + 0xB2: the count, the three amplitude blocks, then the three pair blocks,
// each folded in as twice the checksum so far plus the block's byte sum.
uint8_t DiagnosticFrame::Checksum(const std::string& body) {
    const size_t cells = (body.size() - 2) / 9;
    const auto sum = [&body](size_t offset, size_t length) {
        return std::accumulate(
            body.begin() + static_cast<std::ptrdiff_t>(offset),
            body.begin() + static_cast<std::ptrdiff_t>(offset + length), 0u,
            [](unsigned total, char c) { return total + static_cast<uint8_t>(c); });
    };
    unsigned checksum = (2u * kChecksumSeed + sum(0, 2)) & 0xFF;
    for (size_t beam = 0; beam < kBeams; ++beam) {
        checksum = (2u * checksum + sum(2 + beam * 3 * cells, cells)) & 0xFF;
    }
    for (size_t beam = 0; beam < kBeams; ++beam) {
        checksum = (2u * checksum + sum(2 + beam * 3 * cells + cells, 2 * cells)) & 0xFF;
    }
    return static_cast<uint8_t>(checksum);
}

std::string DiagnosticFrame::Build(Model model, const ConfigBlocks& blocks, uint32_t ping,
                                   FrameFault fault) {
    const size_t cells = fault == FrameFault::kTooManyCells ? kTooManyCells : CellCount(blocks);
    std::string body;
    body.push_back(static_cast<char>(cells & 0xFF));
    body.push_back(static_cast<char>(cells >> 8));
    body += Data(cells, ping);
    uint8_t checksum = Checksum(body);
    if (!ComputesChecksum(model, blocks)) {
        checksum = static_cast<uint8_t>(~checksum);  // whatever old firmware leaves there
    }
    if (fault == FrameFault::kBadChecksum) {
        checksum ^= 0x5A;
    }
    std::string frame = std::string(1, static_cast<char>(kSync)) + body;
    if (fault == FrameFault::kTruncated) {
        return frame.substr(0, frame.size() / 2);
    }
    return frame + static_cast<char>(checksum);
}

}  // namespace brennix::sim
