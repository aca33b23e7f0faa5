#include "cli/cli_session.h"

#include <unistd.h>

#include <string>

#include "link/serial_poll.h"
#include "sim/model_names.h"
#include "sim/simulated_device.h"

namespace brennix::cli {
namespace {

// How often the console looks at the line, its jobs and Ctrl-C.
constexpr uint32_t kPumpStepMs = 20;

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
              isatty(fileno(out)) ? StreamOutputWindow::Mode::kTerminal
                                  : StreamOutputWindow::Mode::kRaw,
              &input),
      session_(ports_.Device(), clock_, ui_),
      relay_(clock_) {
    session_.Instrument().SetRs485Address(options.rs485Address);
    session_.Link().Tap().SetLogFailureCallback([this](const std::string& reason) {
        std::fprintf(err_,
                     "\nbrennix-cli: cannot write the log file %s: %s; the log is "
                     "incomplete\n",
                     options_.logPath.c_str(), reason.c_str());
    });
    ui_.SetInterruptHandler([this] {
        if (session_.Engine().IsRunning()) {
            session_.Engine().RequestCancel();
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
    // The command may have worked, but what was asked for, a complete log, was not had.
    return status == kExitOk && session_.Link().Tap().LogWriteFailed() ? kExitFailed : status;
}

void CliSession::ShowOutput() {
    session_.Link().Tap().SetOutputWindow(&window_);
}

std::string CliSession::PortName() const {
    return options_.simulate ? SimulatedDevice::kPortName : options_.port;
}

bool CliSession::OpenPort() {
    const std::string port = PortName();
    if (session_.Link().Open(port, options_.baudRate)) {
        return true;
    }
    std::fprintf(err_, "brennix-cli: cannot open port %s at %u baud: %s\n", port.c_str(),
                 options_.baudRate, session_.Link().LastErrorMessage().c_str());
    return false;
}

bool CliSession::OpenLog() {
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
        if (step) {
            step();
        } else {
            clock_.Sleep(kPumpStepMs);
        }
    }
}

void CliSession::PumpToEnd(const std::function<bool()>& done) {
    for (relay_.Pump(); !done(); relay_.Pump()) {
        clock_.Sleep(kPumpStepMs);
    }
}

bool CliSession::ConnectionLost() {
    const bool wasOpen = session_.Link().IsOpen();
    session_.Link().Revalidate();
    if (!wasOpen || session_.Link().IsOpen()) {
        return false;
    }
    std::fprintf(err_, "\nbrennix-cli: lost the connection to %s: %s\n", PortName().c_str(),
                 session_.Link().LastErrorMessage().c_str());
    return true;
}

}  // namespace brennix::cli
