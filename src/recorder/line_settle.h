#pragma once

#include <cstdint>

#include "instrument/instrument.h"
#include "instrument/recorder_access.h"
#include "link/serial_link.h"

namespace brennix {

// Lets the line fall quiet: a transfer just cut may still be sending (three "b" ask for its block
// three times more). Waits until nothing has come for 200 ms, discarding what comes, for at most
// as long as six of the largest blocks take at the line's rate (never less than 4 s).
void SettleLine(CSerialLink& link);

// After a recorder exchange was cut: the line let fall quiet, then the instrument's prompt found,
// so the next command meets its command line and nothing of the transfer.
void SettleAfterStop(CInstrument& instrument);

// Switches the instrument and then the line to rate ("BAUD 0 N"), to the end even when the job
// is told to stop meanwhile: cut in two, the instrument could take the new rate while the line
// keeps the old one. False when the instrument did not take the rate.
bool SwitchRate(CInstrument& instrument, uint32_t rate);

// Switches the instrument and the line back to rate: the line is let settle, then "BAUD 0 N",
// and whatever is left is discarded. False when the instrument did not take the rate.
bool RestoreRate(CRecorderAccess& access, CSerialLink& link, uint32_t rate);

}  // namespace brennix
