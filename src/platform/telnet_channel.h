#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace brennix {

// The COM-PORT-OPTION of RFC 2217: the commands a client sends (a server answers each with the
// command plus kServerAnswer and the value it applied) and the values this program uses.
namespace rfc2217 {
inline constexpr uint8_t kComPortOption = 44;
inline constexpr uint8_t kSetBaudRate = 1;
inline constexpr uint8_t kSetDataSize = 2;
inline constexpr uint8_t kSetParity = 3;
inline constexpr uint8_t kSetStopSize = 4;
inline constexpr uint8_t kSetControl = 5;
inline constexpr uint8_t kPurgeData = 12;
inline constexpr uint8_t kServerAnswer = 100;
// SET-CONTROL values.
inline constexpr uint8_t kNoFlowControl = 1;
inline constexpr uint8_t kBreakOn = 5;
inline constexpr uint8_t kBreakOff = 6;
// PURGE-DATA values: the server's buffer of what the far port received, of what it is to send.
inline constexpr uint8_t kPurgeReceived = 1;
inline constexpr uint8_t kPurgeToSend = 2;
// SET-PARITY values (RFC 2217 counts from 1 where the ports count from 0).
inline constexpr uint8_t kParityOffset = 1;
// SET-STOPSIZE values.
inline constexpr uint8_t kOneStopBit = 1;
inline constexpr uint8_t kTwoStopBits = 2;
}  // namespace rfc2217

// A byte stream in telnet framing through libtelnet: data bytes escaped (IAC doubled) on the way
// out and unescaped on the way in, options negotiated, and the COM-PORT-OPTION subnegotiations
// carried both ways. Binary transmission is asked for in both directions, so a CR passes as it
// is. Used by a client (the network port) and by a server (the simulator's listener) alike.
class TelnetChannel {
  public:
    class Handler {
      public:
        virtual ~Handler() = default;
        // Data bytes that arrived.
        virtual void OnData(std::span<const uint8_t> data) = 0;
        // Bytes to put on the connection, in order.
        virtual void OnSend(std::span<const uint8_t> bytes) = 0;
        // A COM-PORT-OPTION subnegotiation: its command and value bytes.
        virtual void OnComPort(uint8_t command, std::span<const uint8_t> value) = 0;
        // The far end agreed to (enabled) or refused the COM-PORT-OPTION.
        virtual void OnComPortAgreed(bool agreed) = 0;
    };
    enum class Role { kClient, kServer };

    // A channel through libtelnet; none in a build without it (Windows: no libtelnet is packaged
    // for it), where the network port refuses RFC 2217 before it connects.
    static std::unique_ptr<TelnetChannel> Make(Role role, Handler& handler);
    virtual ~TelnetChannel() = default;

    // Offers binary transmission and, as a client, the COM-PORT-OPTION.
    virtual void Start() = 0;
    virtual void Receive(std::span<const uint8_t> bytes) = 0;
    virtual void SendData(std::span<const uint8_t> data) = 0;
    virtual void SendComPort(uint8_t command, std::span<const uint8_t> value) = 0;
};

}  // namespace brennix
