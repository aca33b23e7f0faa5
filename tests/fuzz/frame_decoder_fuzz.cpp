// Feeds arbitrary bytes to the diagnostic frame decoder, as a line full of noise would, with and
// without the checksum compared. A frame either decodes within its 512 cells or is refused.
#include <cstddef>
#include <cstdint>
#include <span>

#include "diagnostics/beam_processor.h"
#include "diagnostics/frame_decoder.h"
#include "diagnostics/recording_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> received(data, size);
    for (const bool compared : {true, false}) {
        const brennix::FrameRules rules{.compareChecksum = compared, .travelTime = size % 2 == 0};
        const auto frame = brennix::DecodeInstrumentFrame(received, rules);
        if (!frame) {
            continue;
        }
        if (frame->cells > brennix::kMaxCells) {
            __builtin_trap();
        }
        brennix::BeamProcessor processor;
        processor.SetAveraging(compared);
        processor.Process(*frame);
        brennix::FormatRecordedFrame(*frame);
    }
    return 0;
}
