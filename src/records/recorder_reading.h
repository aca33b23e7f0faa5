#pragma once

#include <optional>

#include "instrument/instrument.h"
#include "setup/recorder_summary.h"

namespace brennix {

// The recorder's reading the setup sheet is handed by both front ends: one directory listing
// ("bdir") gives the space figures and the files. None when it cannot be read.
std::optional<RecorderSummary> ReadRecorderSummary(CInstrument& instrument);

}  // namespace brennix
