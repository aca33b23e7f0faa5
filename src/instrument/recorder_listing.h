#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "instrument/instrument.h"
#include "instrument/recorder_file_entry.h"

namespace brennix {

// The recorder as its directory shows it: the files in the order listed, the space they take and
// the card's capacity.
struct RecorderListing {
    std::vector<RecorderFileEntry> entries;
    uint32_t used = 0;
    uint32_t capacity = 0;

    // The bytes the card can still take; a used figure above the capacity counts as full.
    uint64_t FreeBytes() const { return capacity > used ? uint64_t{capacity} - used : 0; }
};

// Reads the directory ("bdir") on the instrument's link; none when it cannot be read.
std::optional<RecorderListing> ReadRecorderListing(CInstrument& instrument);

}  // namespace brennix
