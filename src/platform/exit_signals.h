#pragma once

#include <initializer_list>

namespace brennix {

// Ends the program on each of these signals as the signal would have, after clearing the
// exclusive mode of the ports it holds (ReleaseSystemSerialPorts) and running
// alsoOnExit, which must be safe in a signal handler (a console's mode put back, say).
void ReleasePortsOnSignals(std::initializer_list<int> signalNumbers,
                           void (*alsoOnExit)() = nullptr);

}  // namespace brennix
