#pragma once

#include <cstdint>

#include "fake_serial_device.h"
#include "link/output_window.h"
#include "link/serial_link.h"
#include "platform/clock.h"

namespace brennix::test {

// A link opened on a scripted fake port, with a terminal pane that starts empty.
struct FakeLine {
    static constexpr const char* kPortName = "/dev/ttyFAKE0";

    explicit FakeLine(uint32_t startTick = 1000) : clock(startTick) {
        link.Open(kPortName, 9600);
        link.SetOutputWindow(&pane);
        pane.SetText("");
    }

    VirtualClock clock;
    FakeSerialDevice device{clock};
    StringTerminalPane pane;
    CSerialLink link{device, clock};
};

}  // namespace brennix::test
