// brennix-sim's pseudo-terminal driven through the real port and link, in real time.
#include "sim/serving/pty_server.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>

#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/posix_serial_device.h"
#include "sim/sim_recorder.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim::test {
namespace {

// The blocks leave no faster than ten bits a byte at the rate that "BAUD" switched to, and not at
// the old rate either.
TEST(PtyServer, PacesARecorderTransferAtTheSwitchedRate) {
    constexpr uint32_t kStartBaud = 9600;
    constexpr uint32_t kBaud = 115200;
    SimulatedInstrument instrument({.baudRate = kStartBaud, .recorderSamples = false});
    instrument.Recorder().AddFile({"PACE.000", std::string(4096, 'p')});
    PtyServer server(instrument);
    ASSERT_TRUE(server.Start()) << server.Error();
    SystemClock clock;
    PosixSerialDevice device;
    CSerialLink link(device, clock);
    std::array<char, 64> reply{};
    ASSERT_TRUE(link.Open(server.SlavePath(), kStartBaud));
    ASSERT_TRUE(link.Write("BAUD 0 115200\r", 200, false));
    ASSERT_TRUE(link.ReadUntil(reply, "OK\r\n>", 2000, 0, false));
    ASSERT_TRUE(link.SetBaudRate(kBaud));
    ASSERT_TRUE(link.Write("download PACE.000\r", 200, false));
    ASSERT_TRUE(link.ReadUntil(reply, "c", 2000, 0, false));

    // The clock starts before the first request: a reader held up after its first bytes would
    // otherwise start it late and find the line faster than it is.
    size_t bytes = 0;
    const auto first = std::chrono::steady_clock::now();
    for (int block = 0; block < 6; ++block) {
        ASSERT_TRUE(link.WriteChar('a', 0));
        std::array<uint8_t, 1100> frame{};
        size_t done = 0;
        ASSERT_TRUE(link.Read(std::span(frame).first(2), done, 2000, false));
        const size_t rest = frame[0] + frame[1] * 256u - 2;
        ASSERT_TRUE(link.Read(std::span(frame).subspan(2, rest), done, 2000, false));
        bytes += 2 + rest;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - first).count();
    const double lineSeconds = bytes * 10.0 / kBaud;
    EXPECT_GE(seconds, lineSeconds);
    // The old rate is twelve times slower: a bound this wide holds on a busy machine too.
    EXPECT_LT(seconds, lineSeconds * kBaud / kStartBaud);
}

}  // namespace
}  // namespace brennix::sim::test
