#include "sim/pty_server.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/posix_serial_device.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim::test {
namespace {

TEST(PtyServer, ServesTheRealPortInRealTimeAtTheRateTheProgramSets) {
    SimulatedInstrument instrument({.baudRate = 19200});
    PtyServer server(instrument);
    ASSERT_TRUE(server.Start()) << server.Error();
    SystemClock clock;
    PosixSerialDevice device;
    CSerialLink link(device, clock);
    std::array<char, 128> reply{};

    ASSERT_TRUE(link.Open(server.SlavePath(), 19200)) << link.LastErrorMessage();
    ASSERT_TRUE(link.Write("Ver\r", 200, false));
    EXPECT_TRUE(link.ReadUntil(reply, "\r\n>", 2000, 0, false));
    EXPECT_EQ(std::string(reply.data()),
              "Ver\rOstrel Mirovan MRV Version 3.8\r\nSerial number M1234\r\n>");

    // Opened again at a rate the instrument does not use.
    ASSERT_TRUE(link.Open(server.SlavePath(), 9600)) << link.LastErrorMessage();
    ASSERT_TRUE(link.Write(" \r\n", 200, false));
    EXPECT_FALSE(link.ReadUntil(reply, ">", 200, 0, false));
    server.Stop();
    EXPECT_EQ(instrument.Received(), "Ver\r \r\n");
}

}  // namespace
}  // namespace brennix::sim::test
