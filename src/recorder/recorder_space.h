#pragma once

#include <cstdint>
#include <optional>

#include "instrument/instrument.h"

namespace brennix {

// The bytes the recorder can still take; a used figure above the capacity counts as full.
uint64_t FreeRecorderBytes(uint32_t capacity, uint32_t used);

// Reads the recorder's directory for its space figures; none when it cannot be read.
std::optional<uint64_t> ReadRecorderFreeBytes(CInstrument& instrument);

}  // namespace brennix
