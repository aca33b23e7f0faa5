#pragma once

#include <memory>

#include "platform/serial_device.h"

namespace brennix {

// The serial ports of the system the program was built for, by the names that system gives
// them (a tty path here). One implementation file per system; the build chooses it.
std::unique_ptr<SerialDevice> MakeSystemSerialDevice();

// Gives back every port this process holds (exclusive mode, lock files), so that a program ended
// by a signal does not lock the next user out. Safe to call from a signal handler.
void ReleaseSystemSerialPorts();

}  // namespace brennix
