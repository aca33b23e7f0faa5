#pragma once

#include <cstdint>
#include <functional>

#include "link/serial_link.h"
#include "platform/queued_job_relay.h"
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

    // Runs what the jobs reported through relay, moving the clock on a step at a time, until
    // done() or limitMs have passed; true when done.
    bool PumpUntil(const std::function<bool()>& done, uint32_t limitMs = 60000) {
        const uint32_t start = clock.TickCount();
        for (relay.Pump(); !done(); relay.Pump()) {
            if (clock.TickCount() - start > limitMs) {
                return false;
            }
            clock.Sleep(kPumpStepMs);
        }
        return true;
    }

    static constexpr uint32_t kPumpStepMs = 10;
    ScriptedUiHost ui{clock};
    CSession session{device, clock, ui};
    CSerialLink& link = session.Link();
    QueuedJobRelay relay{clock};
};

}  // namespace brennix::test
