#pragma once

#include <cstdint>

#include "link/output_window.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "sim/simulated_device.h"
#include "sim/simulated_instrument.h"

namespace brennix::test {

// A simulated instrument on virtual time behind its port, for core tests. Members, in
// construction order:
//   clock       the virtual clock; every link wait advances it and the instrument acts on it
//   instrument  the simulated instrument built from the given settings; its faults and what it
//               received are reachable through GetFaults() and Received()
//   device      the in-process port to the instrument, "SIM"; SetVanished and SetWritesRefused
//               make the port misbehave
//   terminal    the output window a link echoes into once Connect has opened it
struct SimPort {
    SimPort(const sim::Settings& settings, uint32_t startTick)
        : clock(startTick), instrument(settings) {}

    // Opens link on "SIM" at the instrument's rate, 8N1, echoing into terminal, which starts
    // empty (the connection line is cleared).
    void Connect(CSerialLink& link) {
        link.Open(SimulatedDevice::kPortName, instrument.GetSettings().baudRate);
        link.Tap().SetOutputWindow(&terminal);
        terminal.SetText("");
    }

    VirtualClock clock;
    sim::SimulatedInstrument instrument;
    SimulatedDevice device{instrument, clock};
    StringTerminalPane terminal;
};

}  // namespace brennix::test
