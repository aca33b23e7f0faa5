#pragma once

#include <cstdio>
#include <string>

#include "diagnostics/beam_frame.h"

namespace brennix {

// A frame as a recording holds it: one line per cell, each line begun (not ended) by a line
// feed, with the cell index, the range and per beam amplitude, then cosine, then sine.
std::string FormatRecordedFrame(const BeamFrame& frame);

// Appends the frame to an open recording and flushes it; false when the file took it only in part.
bool WriteRecordedFrame(std::FILE* file, const BeamFrame& frame);

}  // namespace brennix
