#pragma once

#include <cstdint>

#include "link/serial_link.h"
#include "recorder/recorder_access.h"

namespace brennix {

// Lets the line fall quiet: a transfer just cancelled may still be sending (three "b" ask for a
// block three times more). Waits until nothing has come for a moment, at most a few seconds, and
// discards what came.
void SettleLine(CSerialLink& link);

// Switches the instrument and the line back to the rate they had before the recorder was used.
// The line is first let settle; then "BAUD 0 N", and whatever is left is discarded. False when
// the instrument did not take the rate.
bool RestoreRate(CRecorderAccess& access, CSerialLink& link, uint32_t rate);

}  // namespace brennix
