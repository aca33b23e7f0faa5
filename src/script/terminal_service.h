#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "instrument/config_reader.h"
#include "instrument/instrument.h"
#include "link/relayed_output.h"
#include "platform/job_relay.h"
#include "script/session.h"
#include "script/session_job.h"

namespace brennix {

// The terminal that both programs present over their session: the connection (opened, checked
// again, lost) and the work a technician does at the line: a typed line, a command file, a
// Commands entry, a BREAK, SDI-12 mode, the identification and the configuration dump. Work on
// the line runs as a job, so the owner's thread never waits on the line; what the instrument
// sends meanwhile reaches the owner's output window through the relay, and the job's instrument
// hands what it found out (SDI-12 mode, the identification) back to the session's. Every call,
// and every finished, on the owner's thread.
class TerminalService {
  public:
    static constexpr const char* kLostPortText =
        "Connection lost.\nPlease reconect to communication port!";
    static constexpr const char* kNotConnectedText = "Not connected";
    static constexpr const char* kBusyText = "A script is running. Stop it first.";
    // After a typed line the instrument's first answer is let arrive before the line is read.
    static constexpr uint32_t kSettleAfterSendMs = 100;

    // Told once the work has let go of the line: false when it did not do what was asked (a
    // text the engine stopped, a mode not switched, a BREAK not sent).
    using Finished = std::function<void(bool succeeded)>;
    // The identification's code (instrument_codes.h).
    using Identified = std::function<void(int code)>;

    // The configuration dump: each block in CConfigReader::kBlocks' order, empty when it could
    // not be read; found is the wake-up's code, and no block is asked for when none answered.
    struct ConfigDump {
        int found = 0;
        std::vector<std::vector<uint8_t>> blocks;
    };
    using ConfigRead = std::function<void(const ConfigDump& dump)>;

    TerminalService(CSession& session, JobRelay& relay);

    // Opens port at rate; when it does not open, the text that says why.
    std::optional<std::string> Connect(const std::string& port, uint32_t rate);
    static std::string OpenFailureText(const std::string& port, uint32_t rate,
                                       const std::string& reason);
    // Checks an open port nobody is using; true once when it has gone away (kLostPortText).
    bool PortLost();

    // Each starts its work, or says why it cannot (kBusyText, kNotConnectedText, a command
    // file's refusal).
    std::optional<std::string> SendLine(const std::string& text, Finished finished);
    std::optional<std::string> RunFile(const std::string& path, Finished finished);
    std::optional<std::string> RunCommandsEntry(int id, Finished finished);
    std::optional<std::string> SendBreak(Finished finished);
    std::optional<std::string> SetSdi12Mode(bool on, Finished finished);
    std::optional<std::string> Identify(Identified identified);
    std::optional<std::string> ReadConfiguration(ConfigRead read);

    // Terminal work runs, or a window or another job holds the link.
    bool Busy() const;
    // This service's own work runs (until its finished has been told).
    bool IsWorking() const { return working_; }
    // Tells the running work to stop (a script ends as its Stop button would end it); its
    // finished still comes.
    void Stop();

  private:
    using Work = std::function<bool(WorkerSession& worker, const StopEvent& stop)>;
    std::optional<std::string> Start(Work work, Finished finished);

    CSession& session_;
    RelayedOutput output_;
    // From Start until its finished has run on the owner's thread.
    bool working_ = false;
    // Written by the job, read by its finished once the job has let go.
    bool succeeded_ = false;
    CInstrument::Conversation conversation_;
    SessionJob job_;  // last: joined before the rest goes
};

}  // namespace brennix
