#include "link/connect_search.h"

#include "link/link_lease.h"
#include "link/prompt_probe.h"
#include "platform/network_port_name.h"

namespace brennix {

namespace {

constexpr uint32_t kFailurePauseMs = 1;

}  // namespace

CConnectSearch::CConnectSearch(CSerialLink& link, Clock& clock) : link_(link), clock_(clock) {}

bool CConnectSearch::Connect(const std::string& port, uint32_t rate, const StopEvent& stop) {
    const LinkLease lease(link_, &stop);
    stop_ = &stop;
    probed_ = false;
    connectedPort_.clear();
    connectedRate_ = 0;
    openFailure_.clear();
    const bool connected = TryConnect(port, rate, false);
    cancelled_ = stop.IsSet();
    stop_ = nullptr;
    return connected && !cancelled_;
}

bool CConnectSearch::TryConnect(const std::string& port, uint32_t rate, bool probe) {
    if (Stopped()) {
        return false;
    }
    if (port == kAutoPort) {
        return SearchPorts(rate);
    }
    if (rate == kAutoRate) {
        return SearchRates(port);
    }

    Status("Connecting to " + port + " at " + std::to_string(rate));
    if (!OpenAt(port, rate)) {
        const std::string status = NoteOpenFailure(port);
        Pause(kFailurePauseMs);
        Status(status);
        return false;
    }
    if (probe) {
        probed_ = true;
        if (!ProbeInstrument()) {
            return false;
        }
    }
    connectedPort_ = port;
    connectedRate_ = rate;
    return true;
}

// A port that cannot be opened or cannot carry a BREAK ends the whole search: the listed ports
// after it are not tried. "Auto" itself is no port to try, and neither is a port on a device
// server: a BREAK and probes sent there would reach an instrument nobody chose.
bool CConnectSearch::SearchPorts(uint32_t rate) {
    for (const std::string& port : autoPorts_) {
        if (port == kAutoPort || IsNetworkPortName(port)) {
            continue;
        }
        if (!BreakIntoCommandMode(port) || !Pause(kPortSettleMs)) {
            return false;
        }
        if (TryConnect(port, rate, true)) {
            return true;
        }
        if (Stopped()) {
            return false;
        }
    }
    return false;
}

bool CConnectSearch::SearchRates(const std::string& port) {
    if (!BreakIntoCommandMode(port) || !Pause(kRateSettleMs)) {
        return false;
    }
    for (const uint32_t rate : kProbeRates) {
        if (TryConnect(port, rate, true)) {
            return true;
        }
        if (Stopped()) {
            return false;
        }
    }
    return false;
}

bool CConnectSearch::OpenAt(const std::string& port, uint32_t rate) {
    if (!link_.Open(port, rate)) {
        return false;
    }
    SerialState state;
    return link_.GetState(state) && state.baudRate == rate;
}

bool CConnectSearch::BreakIntoCommandMode(const std::string& port) {
    if (!link_.Open(port, kBreakRate)) {
        NoteOpenFailure(port);
        return false;
    }
    if (link_.SendBreak()) {
        return true;
    }
    // A port that cannot carry a BREAK at all (raw TCP) is worth saying so about.
    if (!link_.Capabilities().sendBreak) {
        openFailure_ = link_.Capabilities().limits;
    }
    return false;
}

bool CConnectSearch::ProbeInstrument() {
    return Pause(kProbeSettleMs) && ProbePrompt(link_);
}

std::string CConnectSearch::NoteOpenFailure(const std::string& port) {
    const int error = link_.LastError();
    std::string status = "Unable to connect to '" + port + "' (" + std::to_string(error) + ")";
    openFailure_ = status;
    if (error != kErrorNone) {
        openFailure_ += ": " + link_.LastErrorMessage();
    }
    return status;
}

bool CConnectSearch::Pause(uint32_t ms) {
    return !clock_.WaitForEvent(*stop_, ms);
}

void CConnectSearch::Status(const std::string& text) {
    if (status_) {
        status_(text);
    }
}

}  // namespace brennix
