#include "link/connect_search.h"

#include <algorithm>

#include "link/prompt_probe.h"

namespace brennix {

namespace {

// A cancel request is noticed within one slice of a long pause.
constexpr uint32_t kPauseSliceMs = 50;
constexpr uint32_t kFailurePauseMs = 1;

// Routes the link's own waits (its 1 ms polls, the BREAK timing) through the search's wait
// function for the life of the object, so the caller's window stays alive during a probe.
class LinkWaitOverride {
  public:
    LinkWaitOverride(CSerialLink& link, const CSerialLink::WaitCallback& wait) : link_(link) {
        previous_ = link_.SetWaitCallback(wait);
    }
    ~LinkWaitOverride() { link_.SetWaitCallback(previous_); }
    LinkWaitOverride(const LinkWaitOverride&) = delete;
    LinkWaitOverride& operator=(const LinkWaitOverride&) = delete;

  private:
    CSerialLink& link_;
    CSerialLink::WaitCallback previous_;
};

}  // namespace

CConnectSearch::CConnectSearch(CSerialLink& link, Clock& clock) : link_(link), clock_(clock) {}

bool CConnectSearch::Connect(const std::string& port, uint32_t rate) {
    cancelRequested_ = false;
    probed_ = false;
    connectedPort_.clear();
    connectedRate_ = 0;
    openFailure_.clear();
    if (!wait_)
        return TryConnect(port, rate, false);
    LinkWaitOverride linkWaits(link_, wait_);
    return TryConnect(port, rate, false);
}

bool CConnectSearch::TryConnect(const std::string& port, uint32_t rate, bool probe) {
    if (cancelRequested_)
        return false;
    if (port == kAutoPort)
        return SearchPorts(rate);
    if (rate == kAutoRate)
        return SearchRates(port);

    Status("Connecting to " + port + " at " + std::to_string(rate));
    if (!OpenAt(port, rate)) {
        const std::string status = NoteOpenFailure(port);
        Wait(kFailurePauseMs);
        Status(status);
        return false;
    }
    if (probe) {
        probed_ = true;
        if (!ProbeInstrument())
            return false;
    }
    connectedPort_ = port;
    connectedRate_ = rate;
    return true;
}

// A port that cannot be opened or cannot carry a BREAK ends the whole search: the listed ports
// after it are not tried. "Auto" itself is no port to try.
bool CConnectSearch::SearchPorts(uint32_t rate) {
    for (const std::string& port : autoPorts_) {
        if (port == kAutoPort)
            continue;
        if (!BreakIntoCommandMode(port) || !Pause(kPortSettleMs))
            return false;
        if (TryConnect(port, rate, true))
            return true;
        if (cancelRequested_)
            return false;
    }
    return false;
}

bool CConnectSearch::SearchRates(const std::string& port) {
    if (!BreakIntoCommandMode(port) || !Pause(kRateSettleMs))
        return false;
    for (const uint32_t rate : kProbeRates) {
        if (TryConnect(port, rate, true))
            return true;
        if (cancelRequested_)
            return false;
    }
    return false;
}

bool CConnectSearch::OpenAt(const std::string& port, uint32_t rate) {
    if (!link_.Open(port, rate))
        return false;
    SerialState state;
    return link_.GetState(state) && state.baudRate == rate;
}

bool CConnectSearch::BreakIntoCommandMode(const std::string& port) {
    if (!link_.Open(port, kBreakRate)) {
        NoteOpenFailure(port);
        return false;
    }
    return link_.SendBreak(kBreakMs);
}

bool CConnectSearch::ProbeInstrument() {
    return Pause(kProbeSettleMs) && ProbePrompt(link_);
}

std::string CConnectSearch::NoteOpenFailure(const std::string& port) {
    const int error = link_.LastError();
    std::string status = "Unable to connect to '" + port + "' (" + std::to_string(error) + ")";
    openFailure_ = status;
    if (error != kErrorNone)
        openFailure_ += ": " + link_.LastErrorMessage();
    return status;
}

bool CConnectSearch::Pause(uint32_t ms) {
    while (ms > 0) {
        if (cancelRequested_)
            return false;
        const uint32_t slice = std::min(ms, kPauseSliceMs);
        Wait(slice);
        ms -= slice;
    }
    return !cancelRequested_;
}

void CConnectSearch::Wait(uint32_t ms) {
    if (wait_)
        wait_(ms);
    else
        clock_.Sleep(ms);
}

void CConnectSearch::Status(const std::string& text) {
    if (status_)
        status_(text);
}

}  // namespace brennix
