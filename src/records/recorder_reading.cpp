#include "records/recorder_reading.h"

#include "recorder/recorder_listing.h"

namespace brennix {

std::optional<RecorderSummary> ReadRecorderSummary(CInstrument& instrument) {
    const std::optional<RecorderListing> listing = ReadRecorderListing(instrument);
    if (!listing) {
        return std::nullopt;
    }
    RecorderSummary summary{listing->FreeBytes(), listing->used, listing->capacity, {}};
    for (const RecorderFileEntry& entry : listing->entries) {
        summary.files.push_back({entry.name, entry.size, entry.year, entry.month, entry.day,
                                 entry.hour, entry.minute, entry.second});
    }
    return summary;
}

}  // namespace brennix
