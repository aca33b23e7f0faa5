#include "link/port_devices.h"

namespace brennix {

namespace {

// Without the simulator, "SIM" is one more name for the system to refuse.
std::unique_ptr<SimulatedDevice> MakeSimulatedDevice(sim::SimulatedInstrument* simulator,
                                                     Clock& clock) {
    return simulator != nullptr ? std::make_unique<SimulatedDevice>(*simulator, clock) : nullptr;
}

}  // namespace

PortDevices::PortDevices(Clock& clock, const std::optional<sim::Settings>& simulated)
    : system_(MakeSystemSerialDevice()),
      simulator_(simulated ? std::make_unique<sim::SimulatedInstrument>(*simulated) : nullptr),
      simulatedDevice_(MakeSimulatedDevice(simulator_.get(), clock)),
      routed_(*system_,
              simulatedDevice_ ? static_cast<SerialDevice&>(*simulatedDevice_) : *system_) {
    routed_.AddRoute(&IsNetworkPortName, network_);
}

PortDevices::~PortDevices() = default;

}  // namespace brennix
