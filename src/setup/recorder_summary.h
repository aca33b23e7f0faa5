#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brennix {

class CInstrument;

// One file on the recorder as its directory lists it.
struct RecorderFileSummary {
    std::string name;
    uint32_t size = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// What one reading of the recorder's directory says: the space figures and the files. The
// recorder feature reads it; the setup sheet is handed the reading.
struct RecorderSummary {
    uint64_t freeBytes = 0;
    uint64_t usedBytes = 0;
    uint64_t capacityBytes = 0;
    std::vector<RecorderFileSummary> files;
};

// How the recorder is read, bound by the front end: none when it cannot be.
using RecorderReader = std::function<std::optional<RecorderSummary>(CInstrument& instrument)>;

}  // namespace brennix
