#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/low_latency_mode.h"
#include "platform/port_lock.h"
#include "platform/serial_device.h"

namespace brennix {

// A serial port on a POSIX tty (built-in ports, USB adapters, pseudo-terminals), opened
// exclusively in raw mode. Every wait is a poll() bounded by the read or write time-out.
// The tty's exclusive mode is cleared again on Close. The port's UUCP lock file is honoured and
// held while it is open, and a port another process has open is refused with its name: two
// programs reading one port take each other's bytes. While it is open, the driver's low-latency
// mode is on where it has one.
class PosixSerialDevice : public SerialDevice {
  public:
    static constexpr uint32_t kDefaultReadTimeoutMs = 100;
    static constexpr uint32_t kDefaultWriteTimeoutMs = 1000;

    explicit PosixSerialDevice(uint32_t readTimeoutMs = kDefaultReadTimeoutMs,
                               uint32_t writeTimeoutMs = kDefaultWriteTimeoutMs,
                               std::string lockFolder = PortLock::kFolder);
    ~PosixSerialDevice() override;
    PosixSerialDevice(const PosixSerialDevice&) = delete;
    PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

    // Clears the exclusive mode of every port this process holds and removes its lock files, so
    // that a program ended by a signal does not lock the next user out. Safe to call from a
    // signal handler.
    static void ReleaseHeldPorts();

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
    bool Exists(const std::string& name) override;
    int LastError() const override;
    std::string LastErrorMessage() const override;

  private:
    // Records errno of the call that just failed and returns false.
    bool Fail();
    bool Fail(int error);
    // Fails with error and words of our own after the system's (who has the port, say).
    bool FailSaying(int error, std::string detail);
    // Opens the tty and makes it ours; false with the error recorded.
    bool OpenDevice(const std::string& name);
    bool CheckOpen();
    // Fails when the far end hung up or the device reports an error condition.
    bool CheckAlive();
    // Waits for events on the port; false on a hang-up or error, ready tells whether they came.
    bool WaitFor(short events, int timeoutMs, bool& ready);
    bool QueueCount(unsigned long request, uint32_t& count);
    bool Transfer(const std::function<ssize_t(size_t, size_t)>& move, size_t count, size_t& done,
                  short events, uint32_t timeoutMs);

    int fd_ = -1;
    // A pseudo-terminal hands what is written straight to its far end: it has no transmit queue.
    bool pseudoTerminal_ = false;
    int lastError_ = 0;
    std::string errorDetail_;
    uint32_t readTimeoutMs_;
    uint32_t writeTimeoutMs_;
    PortLock lock_;
    LowLatencyMode lowLatency_;
};

}  // namespace brennix
