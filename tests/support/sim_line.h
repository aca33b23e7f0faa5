#pragma once

#include <cstdint>

#include "link/serial_link.h"
#include "support/sim_port.h"

namespace brennix::test {

// A serial line to a simulated instrument on virtual time, for core tests:
//
//   SimLine line;                                  // a Mirovan at 9600 baud, awake
//   line.link.Write("ver", 1000, true);
//   line.link.ReadUntil(buffer, ">", 2000, 0, true);
//   EXPECT_NE(line.terminal.Text().find("Mirovan"), std::string::npos);
//
// The members of SimPort, and link, opened on "SIM" at the instrument's rate.
struct SimLine : SimPort {
    explicit SimLine(const sim::Settings& settings = {}, uint32_t startTick = 0)
        : SimPort(settings, startTick) {
        Connect(link);
    }

    CSerialLink link{device, clock};
};

}  // namespace brennix::test
