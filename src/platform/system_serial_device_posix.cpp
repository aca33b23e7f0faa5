#include "platform/posix_serial_device.h"
#include "platform/system_serial_device.h"

namespace brennix {

std::unique_ptr<SerialDevice> MakeSystemSerialDevice() {
    return std::make_unique<PosixSerialDevice>();
}

void ReleaseSystemSerialPorts() {
    PosixSerialDevice::ReleaseHeldPorts();
}

}  // namespace brennix
