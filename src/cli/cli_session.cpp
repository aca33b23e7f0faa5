#include "cli/cli_session.h"

#include <string>
#include <vector>

#include "instrument/instrument_codes.h"
#include "link/connect_search.h"
#include "link/serial_poll.h"
#include "platform/console_input.h"
#include "platform/job.h"
#include "platform/network_port_name.h"
#include "platform/port_list.h"
#include "script/session_job.h"
#include "sim/model_names.h"
#include "sim/simulated_device.h"

namespace brennix::cli {
namespace {

// How often the console looks at the line, its jobs and Ctrl-C.
constexpr uint32_t kPumpStepMs = 20;
// How long the search's thread may take for its last steps once it has reported.
constexpr uint32_t kSearchEndingMs = 1000;

std::optional<sim::Settings> SimulatedInstrument(const CliOptions& options) {
    if (!options.simulate) {
        return std::nullopt;
    }
    sim::Settings settings;
    // The options were checked: the name is known.
    settings.model = sim::ParseModelName(options.simulatedModel).value_or(sim::Model::kMirovan);
    settings.baudRate = options.baudRate;
    settings.rs485Address = options.rs485Address;
    return settings;
}

}  // namespace

CliSession::CliSession(const CliOptions& options, ConsoleLineReader& input, std::FILE* out,
                       std::FILE* err)
    : options_(options),
      input_(input),
      out_(out),
      err_(err),
      ports_(clock_, SimulatedInstrument(options)),
      ui_(clock_, input, err),
      window_(out,
              IsConsoleTerminal(out) ? StreamOutputWindow::Mode::kTerminal
                                     : StreamOutputWindow::Mode::kLines,
              &input),
      session_(ports_.Device(), clock_, ui_),
      relay_(clock_),
      terminal_(session_, relay_) {
    session_.Instrument().SetRs485Address(options.rs485Address);
    session_.Link().Tap().SetLogFailureCallback([this](const std::string& reason) {
        std::fprintf(err_,
                     "\nbrennix-cli: cannot write the log file %s: %s; the log is "
                     "incomplete\n",
                     options_.logPath.c_str(), reason.c_str());
    });
    ui_.SetInterruptHandler([this] {
        if (terminal_.IsWorking()) {
            terminal_.Stop();
        } else {
            quitRequested_ = true;
        }
    });
}

CliSession::~CliSession() = default;

int CliSession::Run(CliCommand& command) {
    if (!OpenPort()) {
        return kExitUsage;
    }
    if (!OpenLog()) {
        return kExitFailed;
    }
    // Every command talks to the addressed instrument, also one that does not wake it first.
    session_.Instrument().SelectAddress();
    const int status = command.Run(*this);
    window_.Finish();
    if (status != kExitOk) {
        ExplainFailedWakeUp();
    }
    // The command may have worked, but what was asked for, a complete log, was not had.
    return status == kExitOk && session_.Link().Tap().LogWriteFailed() ? kExitFailed : status;
}

// A code name or "Instrument not found" leaves a technician guessing; this says what was tried.
void CliSession::ExplainFailedWakeUp() {
    const std::optional<int> found = session_.Instrument().LastFindResult();
    if (!found || IsInstrument(*found)) {
        return;
    }
    std::fprintf(err_, "brennix-cli: no instrument answered on %s at %u baud: %s.\n",
                 PortName().c_str(), options_.baudRate, WakeUpFailureText(*found));
    const PortCapabilities port = session_.Link().Capabilities();
    if (*found == kFailToWakeUpInstrument2 && !port.sendBreak) {
        std::fprintf(err_, "%s.\n", port.limits.c_str());
    }
    if (*found == kFailToWakeUpInstrument4 || *found == kFailToWakeUpInstrument5) {
        SuggestSearch();
    }
}

// A raw TCP port can neither search the rates nor carry the BREAK that wakes an instrument, and
// --port auto never looks at device servers.
void CliSession::SuggestSearch() {
    const PortCapabilities port = session_.Link().Capabilities();
    if (!port.changeSettings) {
        std::fprintf(err_, "%s.\n", port.limits.c_str());
        return;
    }
    std::fprintf(err_, "%s Try --baud auto%s.\n", CConnectSearch::kRateMayBeWrong,
                 IsNetworkPortName(PortName()) ? "" : " (or --port auto to look at every port)");
}

// An instrument that sleeps or measures (as it does after a deployment) answers only a BREAK;
// identify sends one and, when even that brings nothing, suggests the search.
void CliSession::ExplainSilence() {
    const PortCapabilities port = session_.Link().Capabilities();
    if (!port.sendBreak) {
        std::fprintf(err_, "%s.\n", port.limits.c_str());
        return;
    }
    std::fprintf(err_,
                 "An instrument asleep or measuring (as after a deployment) answers only once "
                 "woken: identify wakes it, or says that nothing answers at %u baud.\n",
                 options_.baudRate);
}

void CliSession::ShowOutput() {
    session_.Link().Tap().SetOutputWindow(&window_);
}

std::string CliSession::PortName() const {
    return options_.simulate ? SimulatedDevice::kPortName : options_.port;
}

bool CliSession::OpenPort() {
    const std::string port = PortName();
    if (port == CConnectSearch::kAutoPort || options_.baudRate == CConnectSearch::kAutoRate) {
        return SearchPort(port);
    }
    const std::optional<std::string> failure = terminal_.Connect(port, options_.baudRate);
    if (failure) {
        std::fprintf(err_, "brennix-cli: %s\n", failure->c_str());
    }
    return !failure;
}

// --port auto, --baud auto: the connect dialog's search, as a job that Ctrl-C stops, saying
// each port and rate it tries.
bool CliSession::SearchPort(const std::string& port) {
    CConnectSearch search(session_.Link(), clock_);
    std::vector<std::string> listed;
    for (const PortInfo& info : ListSerialPorts()) {
        listed.push_back(info.name);
    }
    search.SetAutoPorts(std::move(listed));
    search.SetStatusCallback([this](const std::string& status) {
        relay_.Post([this, status] { std::fprintf(err_, "%s\n", status.c_str()); });
    });
    bool connected = false;
    bool ended = false;
    Job job(clock_);
    const bool started = job.Start([&](const StopEvent& stop) {
        connected = search.Connect(port, options_.baudRate, stop);
        relay_.Post([&ended] { ended = true; });
    });
    if (!started) {
        std::fprintf(err_, "brennix-cli: %s\n", SessionJob::kCannotStart);
        return false;
    }
    if (!PumpUntil([&ended] { return ended; })) {
        job.RequestStop();
        PumpToEnd([&ended] { return ended; });
    }
    job.WaitFinished(kSearchEndingMs);
    if (!connected) {
        const std::string& reason = search.OpenFailure();
        std::fprintf(err_, "brennix-cli: %s\n",
                     search.Cancelled() ? "the search was stopped"
                     : reason.empty()   ? "no instrument answered at any port and rate tried"
                                        : reason.c_str());
        return false;
    }
    std::fprintf(err_, "brennix-cli: the instrument answers on %s at %u baud\n",
                 search.ConnectedPort().c_str(), search.ConnectedRate());
    if (!options_.simulate) {
        options_.port = search.ConnectedPort();
    }
    options_.baudRate = search.ConnectedRate();
    return true;
}

bool CliSession::OpenLog() {
    session_.Link().Tap().SetLogTimeStamps(options_.logTimeStamps);
    if (options_.logPath.empty() || session_.Link().Tap().OpenLog(options_.logPath)) {
        return true;
    }
    std::fprintf(err_, "brennix-cli: cannot create the log file %s: %s\n", options_.logPath.c_str(),
                 session_.Link().Tap().LogErrorMessage().c_str());
    return false;
}

void CliSession::PollFor(uint32_t ms) {
    const uint32_t start = clock_.TickCount();
    while (!quitRequested_ && !HasExpired(start, clock_.TickCount(), ms)) {
        SerialPoll::Run(session_.Link());
        clock_.Sleep(kPumpStepMs);
        ui_.DeliverInterrupt();
    }
    SerialPoll::Run(session_.Link());
}

bool CliSession::PumpUntil(const std::function<bool()>& done, const std::function<void()>& step) {
    for (;;) {
        relay_.Pump();
        ui_.DeliverInterrupt();
        if (quitRequested_) {
            return false;
        }
        if (done()) {
            return true;
        }
        Step(step);
    }
}

void CliSession::PumpToEnd(const std::function<bool()>& done, const std::function<void()>& step) {
    for (relay_.Pump(); !done(); relay_.Pump()) {
        Step(step);
    }
}

void CliSession::Step(const std::function<void()>& step) {
    if (step) {
        step();
    } else {
        clock_.Sleep(kPumpStepMs);
    }
}

bool CliSession::ConnectionLost() {
    if (!terminal_.PortLost()) {
        return false;
    }
    std::fprintf(err_, "\nbrennix-cli: %s\n%s: %s\n", TerminalService::kLostPortText,
                 PortName().c_str(), session_.Link().LastErrorMessage().c_str());
    return true;
}

bool CliSession::AwaitTerminal(const std::optional<std::string>& refusal) {
    if (refusal) {
        std::fprintf(err_, "brennix-cli: %s\n", refusal->c_str());
        return false;
    }
    for (relay_.Pump(); terminal_.IsWorking(); relay_.Pump()) {
        ui_.DeliverInterrupt();
        clock_.Sleep(kPumpStepMs);
    }
    return true;
}

}  // namespace brennix::cli
