#include "records/recorder_reading.h"

#include <vector>

#include "recorder/recorder_access.h"
#include "recorder/recorder_space.h"

namespace brennix {

std::optional<RecorderSummary> ReadRecorderSummary(CInstrument& instrument) {
    // One object reads the directory once: the files and the space come from the same listing.
    CRecorderAccess recorder(instrument);
    std::vector<RecorderFileEntry> entries;
    uint32_t used = 0;
    uint32_t capacity = 0;
    if (!recorder.ReadDirectory(entries) || !recorder.GetSpace(used, capacity)) {
        return std::nullopt;
    }
    RecorderSummary summary{FreeRecorderBytes(capacity, used), used, capacity, {}};
    for (const RecorderFileEntry& entry : entries) {
        summary.files.push_back({entry.name, entry.size, entry.year, entry.month, entry.day,
                                 entry.hour, entry.minute, entry.second});
    }
    return summary;
}

}  // namespace brennix
