#pragma once

#include <string>

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

    // Takes what the far end has sent that the instrument object left unread.
    std::string Unread() {
        std::string rest(device.Queued(), '\0');
        size_t done = 0;
        device.Read(reinterpret_cast<uint8_t*>(rest.data()), rest.size(), done);
        rest.resize(done);
        return rest;
    }

    VirtualClock clock;
    ScriptedDevice device{clock};
    ScriptedInstrument far{device};
    CSerialLink link{device, clock};
    ScriptedUiHost ui{clock};
    CInstrument instrument{clock, ui};
};

}  // namespace brennix::test
