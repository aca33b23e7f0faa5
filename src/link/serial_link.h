#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "link/link_waits.h"
#include "link/traffic_tap.h"
#include "platform/clock.h"
#include "platform/serial_device.h"

namespace brennix {

// The one serial port of the program: open, read, write, break and purge, with what passes the
// port shown through its traffic tap (log file and output window) and every wait taken through
// its lease and wait policy. All time-outs are in milliseconds; reads poll the receive queue and
// wait 1 ms between polls.
//
// The link has no lock: its users take turns. Whoever uses it from a dialog, a job or a script
// holds a LinkLease meanwhile, and the terminal leaves a leased link alone.
class CSerialLink {
  public:
    static constexpr uint32_t kQueueSize = 16384;
    // The one BREAK length of the program: the terminal's button, the connect search, the wake-up,
    // the scripts and the compass all wake or interrupt the instrument with it.
    static constexpr uint32_t kBreakMs = 300;

    CSerialLink(SerialDevice& device, Clock& clock);
    ~CSerialLink();
    CSerialLink(const CSerialLink&) = delete;
    CSerialLink& operator=(const CSerialLink&) = delete;

    bool Open(const std::string& portName, uint32_t baudRate, uint8_t dataBits = 8,
              uint8_t parity = kNoParity, uint8_t stopBits = kOneStopBit);
    void Close();
    bool IsOpen() const;
    // No port is open, or the open one has gone away (an adapter pulled, the far end closed).
    bool PortLost();
    // Reopens a port that has gone away (an adapter plugged back in), saying so.
    void Revalidate();

    bool ReadChar(uint8_t& out, uint32_t timeoutMs, bool echo);
    bool WriteChar(uint8_t byte, uint32_t timeoutMs);
    // Reads buffer.size() bytes; a time-out of 0 is one immediate read bounded by the device.
    bool Read(std::span<uint8_t> buffer, size_t& done, uint32_t timeoutMs, bool echo);
    bool WriteBytes(std::span<const uint8_t> data, size_t& done, bool echo);
    bool Write(const std::string& text, uint32_t timeoutMs, bool appendCrLf);
    // Both keep the buffer NUL-terminated: at most buffer.size() - 1 bytes are stored.
    bool ReadLine(std::span<char> buffer, uint32_t timeoutMs, bool skipBlankFirstLine);
    bool ReadUntil(std::span<char> buffer, const std::string& token, uint32_t timeoutMs,
                   char stopChar, bool echo);
    uint32_t BytesWaiting();
    bool FlushInput(bool discard);
    uint32_t BytesPending();
    // Waits until what was written has left the port, at most timeoutMs; false when it has not.
    bool WaitSent(uint32_t timeoutMs);
    uint32_t GetBaudRate();
    bool SetBaudRate(uint32_t baudRate);
    // Holds the BREAK for kBreakMs.
    bool SendBreak();
    bool Purge(uint32_t flags);
    bool GetState(SerialState& state);
    // A port that keeps its settings (raw TCP) refuses a change and says why in the terminal.
    bool SetState(const SerialState& state);
    bool PortExists(const std::string& portName);
    // What the open port can do besides carrying bytes: a port on a device server in raw TCP
    // mode can neither change the instrument's rate nor send a BREAK, and its limits say why in
    // the user's words. A feature that needs either asks first and keeps to what it can do.
    PortCapabilities Capabilities() const { return device_.Capabilities(); }
    // "Connected to PORT at RATE", or "Not connected".
    void ShowStatus();

    const std::string& PortName() const { return portName_; }
    // Every byte read from the port since the link was made, for telling a silent line.
    uint64_t BytesReceived() const { return bytesReceived_; }
    int LastError() const;
    std::string LastErrorMessage() const;

    TrafficTap& Tap() { return tap_; }
    LinkWaits& Waits() { return waits_; }
    const LinkWaits& Waits() const { return waits_; }
    Clock& GetClock() { return clock_; }

  private:
    void AwaitInput();
    bool ReadPort(uint8_t* buffer, size_t count, size_t& done);
    // Writes all bytes, retrying every 1 ms until the time-out counted from startTick expires.
    bool WriteAll(const uint8_t* data, size_t count, uint32_t startTick, uint32_t timeoutMs);
    bool TimedOut(uint32_t startTick, uint32_t timeoutMs);

    SerialDevice& device_;
    Clock& clock_;
    std::string portName_;
    uint64_t bytesReceived_ = 0;
    TrafficTap tap_;
    LinkWaits waits_;
};

}  // namespace brennix
