#pragma once

#include <cstdint>
#include <optional>

#include "instrument/instrument.h"

namespace brennix {

// Reads the recorder's directory for its free bytes; none when it cannot be read. What the setup
// pages and the deployment are handed to know the recorder's space.
std::optional<uint64_t> ReadRecorderFreeBytes(CInstrument& instrument);

}  // namespace brennix
