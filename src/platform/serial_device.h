#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace brennix {

// Purge flags, with the values the link's callers pass.
inline constexpr uint32_t kPurgeTxClear = 0x0004;
inline constexpr uint32_t kPurgeRxClear = 0x0008;

inline constexpr uint8_t kNoParity = 0;
inline constexpr uint8_t kOneStopBit = 0;
inline constexpr uint8_t kTwoStopBits = 2;

// The line settings of an open port.
struct SerialState {
    uint32_t baudRate = 9600;
    uint8_t dataBits = 8;
    uint8_t parity = kNoParity;      // 0 none, 1 odd, 2 even
    uint8_t stopBits = kOneStopBit;  // 0 one, 2 two
    bool parityCheck = false;
};

// Error codes a device reports through LastError(); system errno values are passed on as they are.
inline constexpr int kErrorNone = 0;

// What a port can do besides carrying bytes. A network port in raw TCP mode carries bytes only:
// the device server keeps its own rate and framing, and no BREAK reaches the instrument; such a
// port refuses a change of settings and a BREAK with ENOTSUP, and limits says why.
struct PortCapabilities {
    bool changeSettings = true;
    bool sendBreak = true;
    std::string limits = {};  // in the user's words; empty when the port can do both
};

// The handful of port operations the serial link needs. One object drives at most one open port.
// Every call returns promptly: a blocking read or write is bounded by the device's own time-out.
class SerialDevice {
  public:
    virtual ~SerialDevice() = default;

    // Opens the named port exclusively, keeping the port's current line settings.
    virtual bool Open(const std::string& name) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Fails when the port is gone (adapter pulled, far end of a pseudo-terminal closed).
    virtual bool GetState(SerialState& state) = 0;
    virtual bool SetState(const SerialState& state) = 0;
    virtual bool SetQueueSizes(size_t receiveBytes, size_t transmitBytes) = 0;

    // Receive and transmit queue counts. A lost port is a failure, never "no data".
    virtual bool BytesWaiting(uint32_t& count) = 0;
    virtual bool BytesPending(uint32_t& count) = 0;

    // Waits up to ms for received bytes, returning as soon as one arrives; true when it waited.
    // A device that cannot wait for input (or whose port has failed) returns false at once, and
    // the caller waits on its clock instead.
    virtual bool WaitForInput(uint32_t /*ms*/) { return false; }
    // Reads up to buffer size bytes; waits at most the device's read time-out for them to arrive.
    virtual bool Read(uint8_t* buffer, size_t count, size_t& done) = 0;
    // Writes up to count bytes; waits at most the device's write time-out for room.
    virtual bool Write(const uint8_t* data, size_t count, size_t& done) = 0;

    virtual bool Purge(uint32_t flags) = 0;
    virtual bool SetBreak(bool on) = 0;
    // What the open port can do; a local port can do everything.
    virtual PortCapabilities Capabilities() const { return {}; }

    // Whether a port of that name exists; one that is busy counts as existing.
    virtual bool Exists(const std::string& name) = 0;

    // The system error of the last failed call and its text.
    virtual int LastError() const = 0;
    virtual std::string LastErrorMessage() const = 0;
};

}  // namespace brennix
