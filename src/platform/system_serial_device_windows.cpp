#include "platform/system_serial_device.h"
#include "platform/win32_serial_device.h"

namespace brennix {

std::unique_ptr<SerialDevice> MakeSystemSerialDevice() {
    return std::make_unique<Win32SerialDevice>();
}

// Nothing to give back: Windows closes a process's handles when it ends, and a port keeps no
// exclusive mode or lock file past its handle. Closing them here, from the console's control
// handler thread, would only pull a handle from under a read on the main thread.
void ReleaseSystemSerialPorts() {}

}  // namespace brennix
