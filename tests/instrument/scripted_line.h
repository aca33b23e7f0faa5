#pragma once

#include "instrument/instrument.h"
#include "instrument/scripted_device.h"
#include "instrument/scripted_instrument.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "support/scripted_ui_host.h"

namespace brennix::test {

// An instrument object on an open link to a scripted far end, all on the virtual clock.
struct ScriptedLine {
    ScriptedLine() {
        link.Open("SCRIPTED", 9600);
        instrument.SetLink(&link);
    }

    uint32_t Elapsed(uint32_t since = 0) { return clock.TickCount() - since; }

    VirtualClock clock;
    ScriptedDevice device{clock};
    ScriptedInstrument far{device};
    CSerialLink link{device, clock};
    ScriptedUiHost ui{clock};
    CInstrument instrument{clock, ui};
};

}  // namespace brennix::test
