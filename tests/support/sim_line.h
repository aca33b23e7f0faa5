#pragma once

#include <cstdint>

#include "link/output_window.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "sim/simulated_device.h"
#include "sim/simulated_instrument.h"

namespace brennix::test {

// A serial line to a simulated instrument on virtual time, for core tests:
//
//   SimLine line;                                  // a Mirovan at 9600 baud, awake
//   line.link.Write("ver", 1000, true);
//   line.link.ReadUntil(buffer, ">", 2000, 0, true);
//   EXPECT_NE(line.terminal.Text().find("Mirovan"), std::string::npos);
//
// Members, in construction order:
//   clock       the virtual clock; every link wait advances it and the instrument acts on it
//   instrument  the simulated instrument built from the given settings; its faults and what it
//               received are reachable through GetFaults() and Received()
//   device      the in-process port to the instrument, open as "SIM"; SetVanished and
//               SetWritesRefused make the port misbehave
//   terminal    the output window the link echoes into; it starts empty (the connection line
//               written by the open is cleared)
//   link        the link, opened on "SIM" at the instrument's baud rate, 8N1
struct SimLine {
    explicit SimLine(const sim::Settings& settings = {}, uint32_t startTick = 0)
        : clock(startTick), instrument(settings) {
        link.Open(SimulatedDevice::kPortName, settings.baudRate);
        link.SetOutputWindow(&terminal);
        terminal.SetText("");
    }

    VirtualClock clock;
    sim::SimulatedInstrument instrument;
    SimulatedDevice device{instrument, clock};
    StringTerminalPane terminal;
    CSerialLink link{device, clock};
};

}  // namespace brennix::test
