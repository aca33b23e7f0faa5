#pragma once

#include <cstdint>

#include "link/output_window.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "session/session.h"
#include "sim/simulated_device.h"
#include "sim/simulated_instrument.h"
#include "support/scripted_ui_host.h"

namespace brennix::test {

// A session on a simulated instrument on virtual time, wired as the program wires it:
//
//   SimSession sim;                                  // a Mirovan at 9600 baud, awake
//   sim.session.Instrument().FindInstrument(true, true);
//   sim.ui.messages ...                              // every box the core showed
//
// Members as in SimLine (clock, instrument, device, terminal), plus the scripted UiHost, the
// session, and link, the session's link, opened on "SIM" and echoing into terminal.
struct SimSession {
    explicit SimSession(const sim::Settings& settings = {}, uint32_t startTick = 0)
        : clock(startTick), instrument(settings) {
        link.Open(SimulatedDevice::kPortName, settings.baudRate);
        link.SetOutputWindow(&terminal);
        terminal.SetText("");
    }

    VirtualClock clock;
    sim::SimulatedInstrument instrument;
    SimulatedDevice device{instrument, clock};
    StringTerminalPane terminal;
    ScriptedUiHost ui{clock};
    CSession session{device, clock, ui};
    CSerialLink& link = session.Link();
};

}  // namespace brennix::test
