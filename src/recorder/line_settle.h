#pragma once

#include <cstdint>

#include "instrument/instrument.h"
#include "link/serial_link.h"
#include "recorder/recorder_access.h"

namespace brennix {

// Lets the line fall quiet: a transfer just cancelled may still be sending (three "b" ask for a
// block three times more). Waits until nothing has come for a moment, at most a few seconds, and
// discards what came.
void SettleLine(CSerialLink& link);

// Switches the instrument and then the line to rate ("BAUD 0 N"), to the end even when the job
// is told to stop meanwhile: cut in two, the instrument could take the new rate while the line
// keeps the old one. False when the instrument did not take the rate.
bool SwitchRate(CInstrument& instrument, uint32_t rate);

// Switches the instrument and the line back to rate: the line is let settle, then "BAUD 0 N",
// and whatever is left is discarded. False when the instrument did not take the rate.
bool RestoreRate(CRecorderAccess& access, CSerialLink& link, uint32_t rate);

}  // namespace brennix
