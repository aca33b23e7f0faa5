#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>

#include "link/output_window.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "platform/stop_event.h"

namespace brennix {

// The one serial port of the program: open, read, write, break, purge, and the echo of traffic and
// status lines into the log file and the output window. All time-outs are in milliseconds; reads
// poll the receive queue and wait 1 ms between polls through Wait().
//
// The link has no lock: its users take turns. Whoever uses it from a dialog or a worker holds a
// LinkLease meanwhile, and the terminal leaves a leased link alone. A lease may carry a stop
// event: once it is set, every wait of the link ends at once and every timed operation fails, so
// a job's stop ends even a 15 s read within one poll step.
class CSerialLink {
  public:
    using WaitCallback = std::function<void(uint32_t ms)>;
    // Hears the system's reason when writing the open log fails (a full disk, a device that went
    // away); called once for each log, which is incomplete from then on.
    using LogFailureCallback = std::function<void(const std::string& reason)>;

    static constexpr uint32_t kQueueSize = 16384;

    CSerialLink(SerialDevice& device, Clock& clock);
    // Opens the port at 9600 baud, 8 data bits, no parity, one stop bit.
    CSerialLink(SerialDevice& device, Clock& clock, const std::string& portName);
    virtual ~CSerialLink();
    CSerialLink(const CSerialLink&) = delete;
    CSerialLink& operator=(const CSerialLink&) = delete;

    bool Open(const std::string& portName, uint32_t baudRate, uint8_t dataBits = 8,
              uint8_t parity = kNoParity, uint8_t stopBits = kOneStopBit);
    virtual void Close();
    virtual bool IsOpen() const;
    virtual void Revalidate();

    virtual bool ReadChar(uint8_t& out, uint32_t timeoutMs, bool echo);
    virtual bool WriteChar(uint8_t byte, uint32_t timeoutMs);
    // Reads buffer.size() bytes; a time-out of 0 is one immediate read bounded by the device.
    virtual bool Read(std::span<uint8_t> buffer, size_t& done, uint32_t timeoutMs, bool echo);
    virtual bool WriteBytes(std::span<const uint8_t> data, size_t& done, bool echo);
    virtual bool Write(const std::string& text, uint32_t timeoutMs, bool appendCrLf);
    // Both keep the buffer NUL-terminated: at most buffer.size() - 1 bytes are stored.
    virtual bool ReadLine(std::span<char> buffer, uint32_t timeoutMs, bool skipBlankFirstLine);
    virtual bool ReadUntil(std::span<char> buffer, const std::string& token, uint32_t timeoutMs,
                           char stopChar, bool echo);
    virtual uint32_t BytesWaiting();
    virtual bool FlushInput(bool discard);
    virtual uint32_t BytesPending();
    virtual uint32_t GetBaudRate();
    virtual bool SetBaudRate(uint32_t baudRate);

    virtual bool IsLogOpen() const;
    // Closes any open log; an empty path only closes. The new file is created or emptied.
    virtual bool OpenLog(const std::string& path);
    // Why the log could not be created, or why writing it failed.
    std::string LogErrorMessage() const;
    // Writing the open log has failed since it was opened.
    bool LogWriteFailed() const { return logWriteFailed_; }
    void SetLogFailureCallback(LogFailureCallback callback) {
        logFailureCallback_ = std::move(callback);
    }
    virtual OutputWindow* SetOutputWindow(OutputWindow* window);
    virtual void Print(const std::string& text);
    virtual void ShowStatus();

    virtual WaitCallback SetWaitCallback(WaitCallback callback);
    // The wait between two polls: the wait procedure when one is set, else Pause.
    virtual void Wait(uint32_t ms);
    // A pause that never pumps messages (the instrument's own pauses); ends early on a stop.
    void Pause(uint32_t ms);
    bool StopRequested() const { return stop_ != nullptr && stop_->IsSet(); }

    // Used by LinkLease.
    void BeginLease(const StopEvent* stop, const StopEvent*& previousStop);
    void EndLease(const StopEvent* previousStop);
    bool IsLeased() const { return leases_.load() > 0; }
    virtual bool SendBreak(uint32_t durationMs);
    virtual bool Purge(uint32_t flags);

    bool GetState(SerialState& state);
    bool SetState(const SerialState& state);
    bool PortExists(const std::string& portName);

    const std::string& PortName() const { return portName_; }
    int LastError() const;
    std::string LastErrorMessage() const;
    Clock& GetClock() { return clock_; }

  private:
    void AwaitInput();
    void AppendToTerminal(const uint8_t* bytes, size_t length);
    void WriteLog(const uint8_t* bytes, size_t length);
    void Echo(const std::string& text);
    // Writes all bytes, retrying every 1 ms until the time-out counted from startTick expires.
    bool WriteAll(const uint8_t* data, size_t count, uint32_t startTick, uint32_t timeoutMs);
    bool TimedOut(uint32_t startTick, uint32_t timeoutMs);

    SerialDevice& device_;
    Clock& clock_;
    std::string portName_;
    std::FILE* log_ = nullptr;
    int logError_ = 0;
    bool logWriteFailed_ = false;
    LogFailureCallback logFailureCallback_;
    WaitCallback waitCallback_;
    OutputWindow* outputWindow_ = nullptr;
    const StopEvent* stop_ = nullptr;
    std::atomic<int> leases_ = 0;
};

}  // namespace brennix
