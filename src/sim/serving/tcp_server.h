#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/network_port_name.h"
#include "platform/telnet_channel.h"
#include "sim/host_line.h"
#include "sim/serving/real_time_line.h"
#include "sim/wire_transcript.h"

namespace brennix::sim {

// Serves a simulated instrument (or a bus of them) on a TCP port of the loopback address, as a
// serial device server would: raw bytes, or telnet with the COM-PORT-OPTION of RFC 2217, whose
// rate, framing and BREAK reach the instruments and whose every setting is answered. One client
// at a time; a new connection takes the place of the old one, and each starts at the
// instruments' own rate.
class TcpServer : private TelnetChannel::Handler {
  public:
    TcpServer(HostLine& line, NetworkProtocol protocol);
    ~TcpServer() override;
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    // Listens on 127.0.0.1 at port (0: any free port) and starts serving; false with Error()
    // set on failure.
    bool Start(uint16_t port);
    void Stop();
    void SetTranscript(WireTranscript* transcript) { transcript_ = transcript; }
    // The port name a program opens: "tcp://127.0.0.1:PORT" or "rfc2217://127.0.0.1:PORT".
    std::string Address() const;
    const std::string& Error() const { return error_; }

  private:
    bool Listen(uint16_t port);
    bool Fail(const std::string& what);
    void Serve();
    void TakeDueOutput();
    void Accept();
    void DropClient();
    void TakeInput();
    void FlushOutput();
    void SetRate(uint32_t rate);

    void OnData(std::span<const uint8_t> data) override;
    void OnSend(std::span<const uint8_t> bytes) override;
    void OnComPort(uint8_t command, std::span<const uint8_t> value) override;
    void OnComPortAgreed(bool) override {}
    // The value a setting now has, after the client's request (0 asks without changing).
    std::vector<uint8_t> Apply(uint8_t command, std::span<const uint8_t> value);

    RealTimeLine line_;
    NetworkProtocol protocol_;
    int listenFd_ = -1;
    int clientFd_ = -1;
    std::array<int, 2> stopPipe_ = {-1, -1};
    std::thread thread_;
    std::unique_ptr<TelnetChannel> telnet_;
    std::string outgoing_;    // for the client, in its framing, not yet taken by the socket
    uint32_t startRate_ = 0;  // the port's own rate, which each new client starts at
    uint32_t rate_ = 0;
    uint8_t dataSize_ = 8;
    uint8_t parity_ = 1;  // RFC 2217 codes: 1 none
    uint8_t stopSize_ = 1;
    uint16_t port_ = 0;
    std::string error_;
    WireTranscript* transcript_ = nullptr;
};

}  // namespace brennix::sim
