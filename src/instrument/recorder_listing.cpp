#include "instrument/recorder_listing.h"

#include "instrument/recorder_access.h"

namespace brennix {

std::optional<RecorderListing> ReadRecorderListing(CInstrument& instrument) {
    CRecorderAccess access(instrument);
    RecorderListing listing;
    if (!access.ReadDirectory(listing.entries) ||
        !access.GetSpace(listing.used, listing.capacity)) {
        return std::nullopt;
    }
    return listing;
}

}  // namespace brennix
