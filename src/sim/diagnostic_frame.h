#pragma once

#include <cstdint>
#include <string>

#include "sim/config_blocks.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim {

// The binary frame the instrument sends for "Amp": the sync byte 0xB2, the cell count N
// (16-bit little-endian), per beam N amplitudes and N cosine/sine pairs, and a checksum byte.
// Its content follows the Conf block: N from the system type and frequency, and a checksum that
// firmware too old to compute one leaves as noise. Each beam hears an echo in cells 27 to 41 and
// noise further out, a little different from ping to ping.
class DiagnosticFrame {
  public:
    static constexpr uint8_t kSync = 0xB2;

    // The cells of one frame for the hardware the Conf block describes.
    static size_t CellCount(const ConfigBlocks& blocks);
    // Whether this model and firmware compute the checksum.
    static bool ComputesChecksum(Model model, const ConfigBlocks& blocks);
    // The checksum of the body: the count's two bytes and the data that follows them.
    static uint8_t Checksum(const std::string& body);

    static std::string Build(Model model, const ConfigBlocks& blocks, uint32_t ping,
                             FrameFault fault);
};

}  // namespace brennix::sim
