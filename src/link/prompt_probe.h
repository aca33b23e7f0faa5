#pragma once

#include "link/serial_link.h"

namespace brennix {

// Whether an instrument answers at the link's port and rate: a blank and CR LF, then the prompt
// ">" within 2000 ms. The connect search's test for an instrument.
bool ProbePrompt(CSerialLink& link);

}  // namespace brennix
