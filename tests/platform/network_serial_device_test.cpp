// The network port against the simulator's own device server on the loopback address: real
// sockets, real time, both framings.
#include "platform/network_serial_device.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "sim/serving/tcp_server.h"
#include "sim/simulated_instrument.h"
#include "support/loopback_port.h"

namespace brennix {
namespace {

using std::chrono::steady_clock;
using test::FreeLoopbackPort;
using testing::HasSubstr;

constexpr auto kPatience = std::chrono::seconds(3);

// What arrives until the text holds token, or the patience runs out.
std::string ReadUntil(SerialDevice& device, const std::string& token) {
    std::string text;
    const auto deadline = steady_clock::now() + kPatience;
    while (text.find(token) == std::string::npos && steady_clock::now() < deadline) {
        uint32_t waiting = 0;
        if (!device.BytesWaiting(waiting)) {
            break;
        }
        std::string chunk(waiting, '\0');
        size_t done = 0;
        device.Read(reinterpret_cast<uint8_t*>(chunk.data()), chunk.size(), done);
        text.append(chunk, 0, done);
        device.WaitForInput(10);
    }
    return text;
}

bool WriteText(SerialDevice& device, const std::string& text) {
    size_t done = 0;
    return device.Write(reinterpret_cast<const uint8_t*>(text.data()), text.size(), done) &&
           done == text.size();
}

class NetworkDeviceTest : public testing::TestWithParam<NetworkProtocol> {
  protected:
    void SetUp() override { ASSERT_TRUE(server.Start(0)) << server.Error(); }

    sim::SimulatedInstrument instrument;
    sim::TcpServer server{instrument, GetParam()};
    NetworkSerialDevice device;
};

// A command goes out and its answer comes back; 0xFF (telnet's IAC) crosses as one byte.
TEST_P(NetworkDeviceTest, CarriesBytesBothWays) {
    ASSERT_TRUE(device.Open(server.Address())) << device.LastErrorMessage();
    ASSERT_TRUE(device.SetState({}));
    ASSERT_TRUE(WriteText(device, "\xFF\xFF\r"));
    ASSERT_TRUE(WriteText(device, "Ver\r"));
    EXPECT_NE(ReadUntil(device, "MRV").find("Ostrel Mirovan MRV"), std::string::npos);
    device.Close();
    server.Stop();
    EXPECT_EQ(instrument.Received(), "\xFF\xFF\rVer\r");
}

// Raw TCP keeps the server's rate and has no BREAK: both are refused with the reason, which
// names the RFC 2217 port that would carry them. RFC 2217 carries both, and a rate the server
// answers otherwise is refused.
TEST_P(NetworkDeviceTest, RateAndBreakReachTheFarPortOnlyThroughRfc2217) {
    ASSERT_TRUE(device.Open(server.Address()));
    ASSERT_TRUE(device.SetState({.baudRate = 9600}));
    const bool rfc2217 = GetParam() == NetworkProtocol::kRfc2217;
    EXPECT_EQ(device.Capabilities().sendBreak, rfc2217);
    EXPECT_EQ(device.SetState({.baudRate = 57600}), rfc2217);
    EXPECT_EQ(device.SetBreak(true), rfc2217);
    EXPECT_EQ(device.SetBreak(false), rfc2217);
    if (!rfc2217) {
        EXPECT_EQ(device.LastError(), ENOTSUP);
        EXPECT_THAT(device.LastErrorMessage(), HasSubstr("rfc2217://127.0.0.1:"));
        return;
    }
    EXPECT_FALSE(device.SetState({.baudRate = 12345}));
    EXPECT_EQ(device.LastErrorMessage(),
              "the device server refused 12345 baud (it answered 57600)");
    SerialState state;
    ASSERT_TRUE(device.GetState(state));
    EXPECT_EQ(state.baudRate, 57600u);
}

// As an adapter pulled out is.
TEST_P(NetworkDeviceTest, ServerGoneIsALostPort) {
    ASSERT_TRUE(device.Open(server.Address()));
    server.Stop();
    uint32_t waiting = 0;
    const auto deadline = steady_clock::now() + kPatience;
    while (device.BytesWaiting(waiting) && steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // Closed, or reset when the server went before it had taken the connection in.
    EXPECT_EQ(device.LastError(), EIO);
    EXPECT_THAT(device.LastErrorMessage(), HasSubstr("connection"));
    SerialState state;
    EXPECT_FALSE(device.GetState(state));
    EXPECT_FALSE(device.Open(server.Address()));
}

INSTANTIATE_TEST_SUITE_P(Protocols, NetworkDeviceTest,
                         testing::Values(NetworkProtocol::kRawTcp, NetworkProtocol::kRfc2217),
                         [](const auto& info) {
                             return info.param == NetworkProtocol::kRawTcp ? "RawTcp" : "Rfc2217";
                         });

TEST(NetworkDevice, ASleepingInstrumentWakesOnABreakThroughRfc2217) {
    sim::SimulatedInstrument instrument({.asleep = true});
    sim::TcpServer server(instrument, NetworkProtocol::kRfc2217);
    ASSERT_TRUE(server.Start(0)) << server.Error();
    NetworkSerialDevice device;
    ASSERT_TRUE(device.Open(server.Address()));
    ASSERT_TRUE(device.SetBreak(true) && device.SetBreak(false));
    EXPECT_THAT(ReadUntil(device, ">"), HasSubstr("Command mode"));
}

TEST(NetworkDevice, UnreachableServersAndWrongNamesFailWithTheReason) {
    NetworkSerialDevice device;
    const std::string refused = "tcp://127.0.0.1:" + std::to_string(FreeLoopbackPort());
    EXPECT_FALSE(device.Open(refused));
    EXPECT_EQ(device.LastError(), ECONNREFUSED);
    EXPECT_THAT(device.LastErrorMessage(), HasSubstr("cannot connect to 127.0.0.1 port"));
    EXPECT_FALSE(device.IsOpen());

    EXPECT_FALSE(device.Open("tcp://127.0.0.1"));
    EXPECT_EQ(device.LastError(), EINVAL);
}

// A server that speaks raw TCP never takes up the COM-PORT-OPTION: the open fails after the
// answer time-out, suggesting tcp://.
TEST(NetworkDevice, Rfc2217ToARawServerFailsAfterItsTimeOut) {
    sim::SimulatedInstrument instrument;
    sim::TcpServer raw(instrument, NetworkProtocol::kRawTcp);
    ASSERT_TRUE(raw.Start(0));
    const std::string address = raw.Address();
    NetworkSerialDevice device;
    const auto start = steady_clock::now();
    EXPECT_FALSE(device.Open("rfc2217" + address.substr(3)));
    EXPECT_GE(steady_clock::now() - start,
              std::chrono::milliseconds(NetworkSerialDevice::kAnswerTimeoutMs));
    EXPECT_EQ(device.LastErrorMessage(), "127.0.0.1 port " +
                                             address.substr(address.rfind(':') + 1) +
                                             " did not take up RFC 2217 within 2 s; for a raw "
                                             "TCP port use " +
                                             address);
}

}  // namespace
}  // namespace brennix
