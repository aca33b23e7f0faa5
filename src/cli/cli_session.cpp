#include "cli/cli_session.h"

#include <array>
#include <fstream>
#include <string>

#include "app/commands_table.h"
#include "link/serial_poll.h"
#include "platform/posix_serial_device.h"
#include "sim/simulated_device.h"
#include "sim/model_names.h"

namespace brennix::cli {
namespace {

constexpr uint32_t kTerminalPollMs = 500;
constexpr uint32_t kPauseAfterSendMs = 100;
constexpr uint32_t kBlockTimeoutMs = 15000;

struct BlockRequest {
    const char* label;
    const char* command;
    size_t size;
};
constexpr std::array<BlockRequest, 3> kConfigBlocks = {{
    {"Conf", "get Conf", 96},
    {"User", "get User", 258},
    {"Oper", "get Oper", 64},
}};

std::unique_ptr<sim::SimulatedInstrument> MakeSimulator(const CliOptions& options) {
    if (!options.simulate) {
        return nullptr;
    }
    sim::Settings settings;
    settings.model = sim::ParseModelName(options.simulatedModel).value_or(sim::Model::kMirovan);
    settings.baudRate = options.baudRate;
    settings.rs485Address = options.rs485Address;
    return std::make_unique<sim::SimulatedInstrument>(settings);
}

std::unique_ptr<SerialDevice> MakeDevice(sim::SimulatedInstrument* simulator, Clock& clock) {
    if (simulator) {
        return std::make_unique<SimulatedDevice>(*simulator, clock);
    }
    return std::make_unique<PosixSerialDevice>();
}

std::string Hex(const std::vector<uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace

CliSession::CliSession(const CliOptions& options, ConsoleLineReader& input, std::FILE* out,
                       std::FILE* err)
    : options_(options),
      input_(input),
      out_(out),
      err_(err),
      simulator_(MakeSimulator(options)),
      device_(MakeDevice(simulator_.get(), clock_)),
      ui_(clock_, input, err),
      window_(out),
      session_(*device_, clock_, ui_) {
    session_.Instrument().SetRs485Address(options.rs485Address);
    ui_.SetInterruptHandler([this] {
        if (session_.Engine().IsRunning()) {
            session_.Engine().RequestCancel();
        } else {
            quitRequested_ = true;
        }
    });
}

CliSession::~CliSession() = default;

int CliSession::Run() {
    if (!OpenPort()) {
        return kExitNoPort;
    }
    if (!OpenLog()) {
        return kExitFailed;
    }
    switch (options_.command) {
        case CliCommand::kTerminal:
            return RunTerminal();
        case CliCommand::kSend:
            return RunSend();
        case CliCommand::kIdentify:
            return RunIdentify();
        case CliCommand::kConfig:
            return RunConfig();
        case CliCommand::kRun:
            return RunCommandFile();
        case CliCommand::kMenu:
            return RunMenuEntry();
    }
    return kExitFailed;
}

bool CliSession::OpenPort() {
    const std::string port = options_.simulate ? SimulatedDevice::kPortName : options_.port;
    if (session_.Link().Open(port, options_.baudRate)) {
        return true;
    }
    std::fprintf(err_, "brennix-cli: cannot open port %s at %u baud: %s\n", port.c_str(),
                 options_.baudRate, session_.Link().LastErrorMessage().c_str());
    return false;
}

bool CliSession::OpenLog() {
    if (options_.logPath.empty() || session_.Link().OpenLog(options_.logPath)) {
        return true;
    }
    std::fprintf(err_, "brennix-cli: cannot create the log file %s\n", options_.logPath.c_str());
    return false;
}

int CliSession::RunTerminal() {
    session_.Link().SetOutputWindow(&window_);
    std::string line;
    while (!quitRequested_) {
        const ConsoleLineReader::Result result = input_.ReadLine(line, kTerminalPollMs);
        if (result == ConsoleLineReader::Result::kEnd) {
            SerialPoll::Run(session_.Link());
            break;
        }
        if (result == ConsoleLineReader::Result::kLine) {
            session_.Instrument().RunText(line);
            clock_.Sleep(kPauseAfterSendMs);
        }
        SerialPoll::Run(session_.Link());
        ui_.DeliverInterrupt();
        if (ConnectionLost()) {
            return kExitFailed;
        }
    }
    return kExitOk;
}

int CliSession::RunSend() {
    session_.Link().SetOutputWindow(&window_);
    const bool sent = session_.Instrument().RunText(options_.argument);
    PollFor(options_.waitMs);
    return ResultOf(sent);
}

int CliSession::RunIdentify() {
    const int code = session_.Instrument().FindInstrument(true, true);
    std::fprintf(out_, "%s\n", InstrumentCodeName(code));
    return ResultOf(IsInstrument(code));
}

int CliSession::RunConfig() {
    const int code = session_.Instrument().FindInstrument(false, true);
    if (!IsInstrument(code)) {
        std::fprintf(err_, "brennix-cli: no instrument answers: %s\n", InstrumentCodeName(code));
        return kExitFailed;
    }
    bool allRead = true;
    for (const BlockRequest& request : kConfigBlocks) {
        std::vector<uint8_t> block(request.size);
        if (session_.Instrument().ReadBlock(request.command, block, kBlockTimeoutMs)) {
            std::fprintf(out_, "%s %s\n", request.label, Hex(block).c_str());
        } else {
            std::fprintf(err_, "brennix-cli: \"%s\" failed\n", request.command);
            allRead = false;
        }
    }
    return ResultOf(allRead);
}

int CliSession::RunCommandFile() {
    if (!std::ifstream(options_.argument, std::ios::binary)) {
        std::fprintf(err_, "brennix-cli: cannot read the command file %s\n",
                     options_.argument.c_str());
        return kExitFailed;
    }
    session_.Link().SetOutputWindow(&window_);
    const bool ran = session_.Instrument().RunFile(options_.argument);
    PollFor(options_.waitMs);
    return ResultOf(ran);
}

int CliSession::RunMenuEntry() {
    const CommandEntry* entry = CommandsTable::LabelLookup(options_.argument);
    if (!entry) {
        std::fprintf(err_, "brennix-cli: no Commands entry is labelled '%s'\n",
                     options_.argument.c_str());
        return kExitFailed;
    }
    session_.Link().SetOutputWindow(&window_);
    const bool ran = RunCommandsEntry(entry->Id(), session_.Engine()) != 0;
    PollFor(options_.waitMs);
    return ResultOf(ran);
}

void CliSession::PollFor(uint32_t ms) {
    const uint32_t start = clock_.TickCount();
    while (!quitRequested_ && !HasExpired(start, clock_.TickCount(), ms)) {
        SerialPoll::Run(session_.Link());
        clock_.Sleep(20);
        ui_.DeliverInterrupt();
    }
    SerialPoll::Run(session_.Link());
}

bool CliSession::ConnectionLost() {
    const bool wasOpen = session_.Link().IsOpen();
    session_.Link().Revalidate();
    if (!wasOpen || session_.Link().IsOpen()) {
        return false;
    }
    std::fprintf(err_, "\nbrennix-cli: lost the connection to %s: %s\n",
                 options_.simulate ? SimulatedDevice::kPortName : options_.port.c_str(),
                 session_.Link().LastErrorMessage().c_str());
    return true;
}

}  // namespace brennix::cli
