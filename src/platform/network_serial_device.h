#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/network_port_name.h"
#include "platform/serial_device.h"
#include "platform/tcp_connection.h"
#include "platform/telnet_channel.h"

namespace brennix {

// A serial port on a serial device server, named "tcp://HOST:PORT" (raw bytes: the server's port
// keeps the rate and framing it was given, and cannot send a BREAK) or "rfc2217://HOST:PORT"
// (telnet with the COM-PORT-OPTION: rate, framing, BREAK and purge reach the far port, and the
// server's answer to each setting is checked). Every wait is bounded: the connection by
// kConnectTimeoutMs, the server's answers by kAnswerTimeoutMs, reads and writes as on a tty. A
// connection the server closed or reset is a lost port, as an adapter pulled out is.
class NetworkSerialDevice : public SerialDevice, private TelnetChannel::Handler {
  public:
    static constexpr uint32_t kConnectTimeoutMs = 5000;
    static constexpr uint32_t kAnswerTimeoutMs = 2000;
    static constexpr uint32_t kDefaultReadTimeoutMs = 100;
    static constexpr uint32_t kDefaultWriteTimeoutMs = 1000;

    explicit NetworkSerialDevice(uint32_t readTimeoutMs = kDefaultReadTimeoutMs,
                                 uint32_t writeTimeoutMs = kDefaultWriteTimeoutMs);
    ~NetworkSerialDevice() override;
    NetworkSerialDevice(const NetworkSerialDevice&) = delete;
    NetworkSerialDevice& operator=(const NetworkSerialDevice&) = delete;

    bool Open(const std::string& name) override;
    void Close() override;
    bool IsOpen() const override;
    bool GetState(SerialState& state) override;
    bool SetState(const SerialState& state) override;
    bool SetQueueSizes(size_t receiveBytes, size_t transmitBytes) override;
    bool BytesWaiting(uint32_t& count) override;
    bool BytesPending(uint32_t& count) override;
    bool WaitForInput(uint32_t ms) override;
    bool Read(uint8_t* buffer, size_t count, size_t& done) override;
    bool Write(const uint8_t* data, size_t count, size_t& done) override;
    bool Purge(uint32_t flags) override;
    bool SetBreak(bool on) override;
    PortCapabilities Capabilities() const override;
    bool Exists(const std::string& name) override;
    int LastError() const override;
    std::string LastErrorMessage() const override;

  private:
    using Deadline = std::chrono::steady_clock::time_point;
    struct Request {
        uint8_t command;
        std::vector<uint8_t> value;
    };

    void OnData(std::span<const uint8_t> data) override;
    void OnSend(std::span<const uint8_t> bytes) override;
    void OnComPort(uint8_t command, std::span<const uint8_t> value) override;
    void OnComPortAgreed(bool agreed) override;

    bool Rfc2217() const { return telnet_ != nullptr; }
    // Takes in what arrived and sends what is queued, without waiting; false once the
    // connection is lost.
    bool Pump();
    bool CheckOpen();
    bool CheckAlive();
    // Sends the queued bytes, waiting for room until the deadline.
    bool Flush(Deadline deadline);
    // Pumps until done() or the deadline; false when the connection was lost meanwhile.
    bool PumpUntil(const std::function<bool()>& done, Deadline deadline);
    bool AwaitComPort();
    // Sends the requests and waits for the server's answer to each.
    bool Exchange(const std::vector<Request>& requests);
    bool ReadServerState();
    // The value the server answered to command, as a number.
    uint32_t Answered(uint8_t command) const;
    bool CheckAnswers(const SerialState& asked);
    bool FailNotCarried(const std::string& what);
    bool Fail(int error, std::string detail);
    bool Lost();

    uint32_t readTimeoutMs_;
    uint32_t writeTimeoutMs_;
    TcpConnection connection_;
    std::optional<NetworkPortName> name_;
    std::unique_ptr<TelnetChannel> telnet_;
    std::deque<uint8_t> inbox_;
    std::vector<uint8_t> outbox_;
    std::map<uint8_t, std::vector<uint8_t>> answers_;
    std::optional<bool> comPortAgreed_;
    SerialState state_;
    // Raw TCP: the first settings are the server's as the user named them; no others follow.
    bool settingsGiven_ = false;
    bool lost_ = false;
    int lastError_ = kErrorNone;
    std::string errorDetail_;
};

}  // namespace brennix
