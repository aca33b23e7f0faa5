#pragma once

#include <memory>

#include "link/routed_serial_device.h"
#include "platform/clock.h"
#include "platform/network_serial_device.h"
#include "platform/serial_device.h"
#include "platform/system_serial_device.h"
#include "sim/simulated_device.h"
#include "sim/simulated_instrument.h"

namespace brennix {

// The serial device both programs talk through, built in one place from their options: the
// system's ports by name, ports on serial device servers ("tcp://HOST:PORT",
// "rfc2217://HOST:PORT") and, when simulating, the built-in instrument under the name "SIM".
class PortDevices {
  public:
    // simulated: the built-in instrument to offer; none: real ports only.
    PortDevices(Clock& clock, const std::optional<sim::Settings>& simulated);
    ~PortDevices();
    PortDevices(const PortDevices&) = delete;
    PortDevices& operator=(const PortDevices&) = delete;

    SerialDevice& Device() { return routed_; }
    // The built-in instrument, present when simulating.
    sim::SimulatedInstrument* Simulator() const { return simulator_.get(); }
    // Its port, present when simulating: it can be made to vanish as a pulled adapter does.
    SimulatedDevice* SimulatedPort() const { return simulatedDevice_.get(); }
    bool Simulating() const { return simulator_ != nullptr; }

  private:
    std::unique_ptr<SerialDevice> system_;
    NetworkSerialDevice network_;
    std::unique_ptr<sim::SimulatedInstrument> simulator_;
    std::unique_ptr<SimulatedDevice> simulatedDevice_;
    RoutedSerialDevice routed_;
};

}  // namespace brennix
