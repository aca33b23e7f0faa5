#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/serial_device.h"
#include "sim/host_line.h"

namespace brennix {

// A serial port wired in-process to the instrument simulator (one instrument, or a bus of them),
// or to a scripted far end. Opens under its name, "SIM" unless given another.
// The simulator is driven by this device's clock: on the virtual clock it acts as time advances.
class SimulatedDevice : public SerialDevice {
  public:
    static constexpr const char* kPortName = "SIM";
    // The "driver" time-out of an immediate read that finds too few bytes.
    static constexpr uint32_t kReadTimeoutMs = 100;

    SimulatedDevice(sim::HostLine& line, Clock& clock, std::string name = kPortName);

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
    PortCapabilities Capabilities() const override { return capabilities_; }

    // Test knobs: make the port misbehave as real ports and drivers do.
    // An adapter pulled out: the open port fails for good; it opens again once it is back.
    void SetVanished(bool vanished);
    void SetWritesRefused(bool refused);
    void SetWritesRefusedUntil(uint32_t tick);
    // A driver that keeps this rate whatever it is asked for.
    void SetKeptRate(uint32_t rate) { keptRate_ = rate; }
    // The nth purge from now fails.
    void FailPurge(int nth) { purgesUntilFailure_ = nth; }
    // A port that can sleep until a byte arrives, as a tty can; counts its waits.
    void SetWaitsForInput(bool waits) { waitsForInput_ = waits; }
    int InputWaits() const { return inputWaits_; }
    // A port that carries bytes only (a raw TCP device server): a change of settings is refused.
    void SetCapabilities(PortCapabilities capabilities);
    // Written bytes leave at the line rate (10 bits a byte) instead of at once, as from a real
    // port's transmit queue: they are pending meanwhile, and a purge of the transmit side
    // discards them.
    void SetTransmitPaced(bool paced);
    // Which BREAK transitions the device saw, for tests: each entry is the tick it was set.
    const std::deque<uint32_t>& BreakTicks() const;

  private:
    // Hands the instrument the written bytes whose time has come, and moves what it has
    // delivered by now into the receive queue.
    void Collect();
    void Transmit();
    bool Fail(int error);
    // Fails like a real port that is closed or has gone away.
    bool CheckUsable();

    sim::HostLine& line_;
    Clock& clock_;
    std::string name_;
    std::deque<uint8_t> received_;
    // Paced writes not yet on the line, each with the tick it leaves at.
    std::deque<std::pair<uint8_t, uint32_t>> transmitting_;
    bool transmitPaced_ = false;
    std::deque<uint32_t> breakTicks_;
    SerialState state_;
    int lastError_ = kErrorNone;
    bool open_ = false;
    bool vanished_ = false;
    bool lost_ = false;  // the open port vanished
    bool writesRefused_ = false;
    std::optional<uint32_t> writesRefusedUntil_;
    std::optional<uint32_t> keptRate_;
    int purgesUntilFailure_ = 0;
    bool waitsForInput_ = false;
    int inputWaits_ = 0;
    size_t transmitQueueSize_ = SIZE_MAX;  // what one write takes at most
    PortCapabilities capabilities_;
};

}  // namespace brennix
