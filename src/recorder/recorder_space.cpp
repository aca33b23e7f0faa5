#include "recorder/recorder_space.h"

#include "recorder/recorder_listing.h"

namespace brennix {

std::optional<uint64_t> ReadRecorderFreeBytes(CInstrument& instrument) {
    const std::optional<RecorderListing> listing = ReadRecorderListing(instrument);
    if (!listing) {
        return std::nullopt;
    }
    return listing->FreeBytes();
}

}  // namespace brennix
