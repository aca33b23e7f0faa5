#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/stop_event.h"

namespace brennix {

// Opens the link at a chosen port and rate, or searches for the instrument when either is "Auto":
// a BREAK at 9600 baud returns the instrument to command mode, then each rate is probed for the
// prompt. Status lines go to a callback. A search takes seconds, so a front end runs it as a job:
// its stop event ends the search at once, whatever wait it is in.
class CConnectSearch {
  public:
    static constexpr const char* kAutoPort = "Auto";
    static constexpr uint32_t kAutoRate = 0;
    static constexpr uint32_t kBreakRate = 9600;
    // After the BREAK of a port search and of a rate search.
    static constexpr uint32_t kPortSettleMs = 2000;
    static constexpr uint32_t kRateSettleMs = 4000;
    static constexpr uint32_t kProbeSettleMs = 150;
    // The rates probed when the rate is "Auto", most likely first.
    static constexpr std::array<uint32_t, 10> kProbeRates = {9600,  19200, 600,  115200, 57600,
                                                             38400, 4800,  2400, 1200,   300};

    // Said, by the window and the console alike, where nothing came back at a rate the
    // technician named: the search (rate "Auto") finds the one the instrument runs at.
    static constexpr const char* kRateMayBeWrong = "The baud rate may be wrong.";

    using StatusCallback = std::function<void(const std::string& status)>;

    CConnectSearch(CSerialLink& link, Clock& clock);

    void SetStatusCallback(StatusCallback callback) { status_ = std::move(callback); }
    // The ports a port "Auto" search tries, in order.
    void SetAutoPorts(std::vector<std::string> ports) { autoPorts_ = std::move(ports); }

    // Connects at port and rate, either of which may be "Auto" (kAutoPort, kAutoRate). A named
    // port at a named rate is simply opened: no instrument is needed. Holds the link meanwhile;
    // once stop is set the search ends and fails.
    bool Connect(const std::string& port, uint32_t rate, const StopEvent& stop);

    // The last Connect was stopped before it ended.
    bool Cancelled() const { return cancelled_; }
    // Whether the last Connect probed an instrument, whether or not it answered.
    bool Probed() const { return probed_; }
    // The port and rate that worked in the last successful Connect.
    const std::string& ConnectedPort() const { return connectedPort_; }
    uint32_t ConnectedRate() const { return connectedRate_; }
    // Why the last port that could not be opened (or could not carry the search's BREAK)
    // failed, with the system's words; empty when every port opened.
    const std::string& OpenFailure() const { return openFailure_; }

  private:
    bool TryConnect(const std::string& port, uint32_t rate, bool probe);
    bool SearchPorts(uint32_t rate);
    bool SearchRates(const std::string& port);
    bool OpenAt(const std::string& port, uint32_t rate);
    // Opens at 9600 baud and sends the BREAK that returns the instrument to command mode.
    bool BreakIntoCommandMode(const std::string& port);
    bool ProbeInstrument();
    // Notes why port could not be opened and returns the status line that says so.
    std::string NoteOpenFailure(const std::string& port);
    // Waits ms; false when the search was stopped meanwhile.
    bool Pause(uint32_t ms);
    bool Stopped() const { return stop_ != nullptr && stop_->IsSet(); }
    void Status(const std::string& text);

    CSerialLink& link_;
    Clock& clock_;
    StatusCallback status_;
    std::vector<std::string> autoPorts_;
    const StopEvent* stop_ = nullptr;
    bool cancelled_ = false;
    bool probed_ = false;
    std::string connectedPort_;
    uint32_t connectedRate_ = 0;
    std::string openFailure_;
};

}  // namespace brennix
