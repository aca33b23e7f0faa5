#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/serial_device.h"

namespace brennix {

// One port for the link that is the simulated instrument (name "SIM"), a port of another kind
// that a route claims by its name (a network port, say), or a real port (any other name), chosen
// by the name each Open is given.
class RoutedSerialDevice : public SerialDevice {
  public:
    static constexpr const char* kSimulatedPortName = "SIM";
    using NameTest = bool (*)(std::string_view name);

    RoutedSerialDevice(SerialDevice& real, SerialDevice& simulated);
    // The names test says yes to go to device.
    void AddRoute(NameTest test, SerialDevice& device);

    bool Open(const std::string& name) override;
    void Close() override;
    bool IsOpen() const override;
    bool GetState(SerialState& state) override;
    bool SetState(const SerialState& state) override;
    bool SetQueueSizes(size_t receiveBytes, size_t transmitBytes) override;
    bool BytesWaiting(uint32_t& count) override;
    bool BytesPending(uint32_t& count) override;
    bool WaitForInput(uint32_t ms) override;
    bool Read(uint8_t* buffer, size_t count, size_t& done) override;
    bool Write(const uint8_t* data, size_t count, size_t& done) override;
    bool Purge(uint32_t flags) override;
    bool SetBreak(bool on) override;
    PortCapabilities Capabilities() const override;
    bool Exists(const std::string& name) override;
    int LastError() const override;
    std::string LastErrorMessage() const override;

  private:
    struct Route {
        NameTest test;
        SerialDevice* device;
    };

    SerialDevice& DeviceFor(const std::string& name);

    SerialDevice& real_;
    std::vector<Route> routes_;
    // The device of the last Open or Exists, whose error LastError reports.
    SerialDevice* current_;
};

}  // namespace brennix
