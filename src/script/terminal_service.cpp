#include "script/terminal_service.h"

#include <memory>
#include <utility>

#include "instrument/command_file.h"
#include "instrument/instrument_codes.h"
#include "link/serial_poll.h"
#include "script/commands_table.h"

namespace brennix {

TerminalService::TerminalService(CSession& session, JobRelay& relay)
    : session_(session), output_(relay), job_(session, relay) {}

std::optional<std::string> TerminalService::Connect(const std::string& port, uint32_t rate) {
    if (session_.Link().Open(port, rate)) {
        return std::nullopt;
    }
    return OpenFailureText(port, rate, session_.Link().LastErrorMessage());
}

std::string TerminalService::OpenFailureText(const std::string& port, uint32_t rate,
                                             const std::string& reason) {
    return "Could not open " + port + " at " + std::to_string(rate) + " baud:\n" + reason;
}

bool TerminalService::PortLost() {
    if (Busy() || !session_.Link().IsOpen()) {
        return false;
    }
    session_.Link().Revalidate();
    return !session_.Link().IsOpen();
}

bool TerminalService::Busy() const {
    return working_ || session_.LinkBusy();
}

void TerminalService::Stop() {
    job_.RequestStop();
}

std::optional<std::string> TerminalService::SendLine(const std::string& text, Finished finished) {
    return Start(
        [text](WorkerSession& worker, const StopEvent&) {
            const bool ran = worker.Engine().Run(text, false) != 0;
            worker.Link().Waits().Pause(kSettleAfterSendMs);
            SerialPoll::Run(worker.Link());
            return ran;
        },
        std::move(finished));
}

std::optional<std::string> TerminalService::RunFile(const std::string& path, Finished finished) {
    const CommandFile file = ReadCommandFile(path);
    if (!file.ok) {
        return CommandFileRefusal("run", path, file.error);
    }
    return Start(
        [text = file.text](WorkerSession& worker, const StopEvent&) {
            return worker.Engine().Run(text, false) != 0;
        },
        std::move(finished));
}

std::optional<std::string> TerminalService::RunCommandsEntry(int id, Finished finished) {
    return Start(
        [id](WorkerSession& worker, const StopEvent&) {
            return brennix::RunCommandsEntry(id, worker.Engine()) != 0;
        },
        std::move(finished));
}

std::optional<std::string> TerminalService::SendBreak(Finished finished) {
    return Start(
        [](WorkerSession& worker, const StopEvent&) {
            worker.Link().Purge(kPurgeRxClear);
            return worker.Link().SendBreak();
        },
        std::move(finished));
}

std::optional<std::string> TerminalService::SetSdi12Mode(bool on, Finished finished) {
    return Start([on](WorkerSession& worker,
                      const StopEvent&) { return worker.Instrument().SetSdi12Mode(on); },
                 std::move(finished));
}

std::optional<std::string> TerminalService::Identify(Identified identified) {
    auto code = std::make_shared<int>(0);
    return Start(
        [code](WorkerSession& worker, const StopEvent&) {
            *code = worker.Instrument().FindInstrument(true, true);
            return IsInstrument(*code);
        },
        [code, identified = std::move(identified)](bool) { identified(*code); });
}

std::optional<std::string> TerminalService::ReadConfiguration(ConfigRead read) {
    auto dump = std::make_shared<ConfigDump>();
    return Start(
        [dump](WorkerSession& worker, const StopEvent&) {
            dump->found = worker.Instrument().FindInstrument(false, true);
            if (!IsInstrument(dump->found)) {
                return false;
            }
            CConfigReader reader(worker.Instrument());
            for (const CConfigReader::BlockKind& kind : CConfigReader::kBlocks) {
                reader.ReadBlock(kind);
                dump->blocks.emplace_back(reader.Block().begin(), reader.Block().end());
            }
            return true;
        },
        [dump, read = std::move(read)](bool) { read(*dump); });
}

std::optional<std::string> TerminalService::Start(Work work, Finished finished) {
    if (Busy()) {
        return std::string(kBusyText);
    }
    if (!session_.Link().IsOpen()) {
        return std::string(kNotConnectedText);
    }
    TrafficTap& tap = session_.Link().Tap();
    output_.SetTarget(tap.SetOutputWindow(&output_));
    conversation_ = session_.Instrument().GetConversation();
    working_ = true;
    const bool started = job_.Start({
        .work =
            [this, work = std::move(work)](WorkerSession& worker, const StopEvent& stop) {
                worker.Instrument().ContinueConversation(conversation_);
                worker.Engine().CancelWith(&stop);
                succeeded_ = work(worker, stop);
                worker.Engine().CancelWith(nullptr);
                conversation_ = worker.Instrument().GetConversation();
            },
        .finished =
            [this, finished = std::move(finished)] {
                session_.Link().Tap().SetOutputWindow(output_.Target());
                session_.Instrument().ContinueConversation(conversation_);
                working_ = false;
                if (finished) {
                    finished(succeeded_);
                }
            },
    });
    if (!started) {
        tap.SetOutputWindow(output_.Target());
        working_ = false;
        return std::string(SessionJob::kCannotStart);
    }
    return std::nullopt;
}

}  // namespace brennix
