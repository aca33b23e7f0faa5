// Whatever a device server sends, through the network port a link uses: the telnet framing and
// the COM-PORT-OPTION answers of an "rfc2217://" port, or the raw bytes of a "tcp://" one, while
// the port is opened, set, written, read, sent a BREAK and purged. The first byte picks the port;
// with its top bit set the rest is a port name instead, which must read back as the same port.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/network_port_name.h"
#include "platform/network_serial_device.h"
#include "scripted_tcp_connection.h"

namespace {

using namespace brennix;

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void CheckName(std::string_view name) {
    std::string error;
    const auto parsed = ParseNetworkPortName(name, error);
    Require(parsed || !error.empty());
    Require(!parsed || IsNetworkPortName(name));
    if (parsed) {
        const auto again = ParseNetworkPortName(NetworkPortText(parsed->protocol, *parsed), error);
        Require(again && again->protocol == parsed->protocol && again->host == parsed->host &&
                again->port == parsed->port);
    }
}

void UsePort(NetworkSerialDevice& port) {
    SerialState state;
    port.GetState(state);
    port.SetState({.baudRate = 115200, .dataBits = 8});
    const uint8_t command[] = {'V', 'e', 'r', '\r', 0xFF};
    size_t done = 0;
    port.Write(command, sizeof command, done);
    Require(done == 0 || done == sizeof command);
    uint8_t reply[64];
    uint32_t waiting = 0;
    while (port.BytesWaiting(waiting) && waiting > 0) {
        const bool read = port.Read(reply, sizeof reply, done);
        Require(done <= sizeof reply);
        if (!read) {
            break;
        }
    }
    port.SetBreak(true);
    port.SetBreak(false);
    port.Purge(kPurgeRxClear | kPurgeTxClear);
    port.SetState({.baudRate = 9600, .dataBits = 7, .parity = 2, .stopBits = kTwoStopBits});
    Require(port.LastError() == kErrorNone || !port.LastErrorMessage().empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    if (data[0] & 0x80) {
        CheckName({reinterpret_cast<const char*>(data + 1), size - 1});
        return 0;
    }
    fuzz::ScriptServerBytes(data + 1, size - 1);
    NetworkSerialDevice port;
    if (port.Open(data[0] & 1 ? "rfc2217://server:4001" : "tcp://server:4001")) {
        UsePort(port);
    }
    return 0;
}
