#pragma once

#include <cstdint>

#include "link/output_window.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "sim/scripted_far_end.h"
#include "sim/simulated_device.h"

namespace brennix::test {

// A link on the simulated port whose far end is scripted, on the virtual clock, opened on "SIM"
// at 9600 and echoing into a pane that starts empty.
struct ScriptedLine {
    explicit ScriptedLine(uint32_t startTick = 1000, bool open = true) : clock(startTick) {
        if (open) {
            link.Open(SimulatedDevice::kPortName, 9600);
        }
        link.Tap().SetOutputWindow(&pane);
        pane.SetText("");
    }

    VirtualClock clock;
    sim::ScriptedFarEnd farEnd{clock};
    SimulatedDevice device{farEnd, clock};
    StringTerminalPane pane;
    CSerialLink link{device, clock};
};

}  // namespace brennix::test
