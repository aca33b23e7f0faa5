// Plays arbitrary text back as a recording. Every frame holds 1 to 512 cells, and the reader
// ends; no line, however long or strange, is misread past its arrays.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "diagnostics/playback_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (file == nullptr) {
        return 0;
    }
    brennix::PlaybackReader reader{brennix::DiagnosticFile(file)};
    size_t cells = 0;
    while (const auto frame = reader.NextFrame()) {
        if (frame->cells == 0 || frame->cells > brennix::kMaxCells) {
            __builtin_trap();
        }
        cells += frame->cells;
    }
    // Every cell comes from a line of at least eleven numbers: two characters each at least.
    if (cells > size / 22 + 1) {
        __builtin_trap();
    }
    return 0;
}
