#include "recorder/recorder_space.h"

#include "recorder/recorder_access.h"

namespace brennix {

uint64_t FreeRecorderBytes(uint32_t capacity, uint32_t used) {
    return capacity > used ? uint64_t{capacity} - used : 0;
}

std::optional<uint64_t> ReadRecorderFreeBytes(CInstrument& instrument) {
    CRecorderAccess recorder(instrument);
    uint32_t used = 0;
    uint32_t capacity = 0;
    if (!recorder.GetSpace(used, capacity)) {
        return std::nullopt;
    }
    return FreeRecorderBytes(capacity, used);
}

}  // namespace brennix
