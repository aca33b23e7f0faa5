#pragma once

#include <cstdint>
#include <string>

#include "platform/serial_device.h"

namespace brennix {

// A serial port on Windows (built-in ports, USB adapters, virtual ports), opened without sharing
// in binary mode with no flow control and DTR and RTS on. Reads return at once with what the
// driver holds, and Read polls for the rest until its time-out; a write waits at most the write
// time-out for the driver to take the bytes. Any name opens: "COM3", "com12", the handheld's
// "COM1:", or a path such as "\\.\COM3". A port another program has open is refused with words
// that say so. A port whose adapter was pulled fails every call, GetState included.
class Win32SerialDevice : public SerialDevice {
  public:
    static constexpr uint32_t kDefaultReadTimeoutMs = 100;
    static constexpr uint32_t kDefaultWriteTimeoutMs = 1000;

    explicit Win32SerialDevice(uint32_t readTimeoutMs = kDefaultReadTimeoutMs,
                               uint32_t writeTimeoutMs = kDefaultWriteTimeoutMs);
    ~Win32SerialDevice() override;
    Win32SerialDevice(const Win32SerialDevice&) = delete;
    Win32SerialDevice& operator=(const Win32SerialDevice&) = delete;

    bool Open(const std::string& name) override;
    void Close() override;
    bool IsOpen() const override;
    bool GetState(SerialState& state) override;
    bool SetState(const SerialState& state) override;
    bool SetQueueSizes(size_t receiveBytes, size_t transmitBytes) override;
    bool BytesWaiting(uint32_t& count) override;
    bool BytesPending(uint32_t& count) override;
    bool Read(uint8_t* buffer, size_t count, size_t& done) override;
    bool Write(const uint8_t* data, size_t count, size_t& done) override;
    bool Purge(uint32_t flags) override;
    bool SetBreak(bool on) override;
    bool Exists(const std::string& name) override;
    int LastError() const override;
    std::string LastErrorMessage() const override;

  private:
    // Records GetLastError of the call that just failed and returns false.
    bool Fail();
    bool Fail(unsigned long error);
    // Fails with error and words of our own after the system's.
    bool FailSaying(unsigned long error, std::string detail);
    // Fails with the error of a CreateFileW that refused the port, saying why where it can.
    bool FailToOpen(unsigned long error);
    // Makes the freshly opened handle a raw, never-blocking line; false with the error recorded.
    bool Configure();
    bool CheckOpen();
    // The receive and transmit queue counts; fails once the port is gone.
    bool QueueCounts(uint32_t& received, uint32_t& toSend);

    void* handle_ = nullptr;  // the port's HANDLE; null while closed
    unsigned long lastError_ = 0;
    std::string errorDetail_;
    uint32_t readTimeoutMs_;
    uint32_t writeTimeoutMs_;
};

}  // namespace brennix
