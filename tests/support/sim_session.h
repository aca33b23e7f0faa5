#pragma once

#include <cstdint>

#include "link/serial_link.h"
#include "script/session.h"
#include "support/scripted_ui_host.h"
#include "support/sim_port.h"

namespace brennix::test {

// A session on a simulated instrument on virtual time, wired as the program wires it:
//
//   SimSession sim;                                  // a Mirovan at 9600 baud, awake
//   sim.session.Instrument().FindInstrument(true, true);
//   sim.ui.messages ...                              // every box the core showed
//
// The members of SimPort, plus the scripted UiHost, the session, and link, the session's link,
// opened on "SIM" and echoing into terminal.
struct SimSession : SimPort {
    explicit SimSession(const sim::Settings& settings = {}, uint32_t startTick = 0)
        : SimPort(settings, startTick) {
        Connect(link);
    }

    ScriptedUiHost ui{clock};
    CSession session{device, clock, ui};
    CSerialLink& link = session.Link();
};

}  // namespace brennix::test
