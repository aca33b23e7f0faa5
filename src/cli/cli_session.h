#pragma once

#include <cstdio>
#include <functional>
#include <memory>

#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "cli/console_line_reader.h"
#include "cli/console_ui_host.h"
#include "cli/stream_output_window.h"
#include "link/port_devices.h"
#include "platform/clock.h"
#include "platform/queued_job_relay.h"
#include "platform/system_settings.h"
#include "script/session.h"
#include "script/terminal_service.h"

namespace brennix::cli {

// One run of brennix-cli: the port and a session on it, and what every command needs around it:
// the console, the echo of the instrument's output, Ctrl-C.
class CliSession {
  public:
    CliSession(const CliOptions& options, ConsoleLineReader& input, std::FILE* out, std::FILE* err);
    ~CliSession();

    // Opens the port and the log, then runs the command; the exit status.
    int Run(CliCommand& command);

    CSession& Session() { return session_; }
    TerminalService& Terminal() { return terminal_; }
    ConsoleUiHost& Ui() { return ui_; }
    ConsoleLineReader& Input() { return input_; }
    const CliOptions& Options() const { return options_; }
    // The settings the desktop program keeps too.
    Settings& Store() { return *settings_; }
    std::FILE* Out() { return out_; }
    std::FILE* Err() { return err_; }

    // Shows everything the link echoes on standard output from now on.
    void ShowOutput();
    // Shows what the instrument sends for ms milliseconds, or until Ctrl-C.
    void PollFor(uint32_t ms);
    // The relay the commands' jobs report through, pumped by PumpUntil on this thread.
    JobRelay& Relay() { return relay_; }
    // Runs what the jobs report until done() says so; false when Ctrl-C arrived first. step
    // waits between two rounds (a short sleep when none is given).
    bool PumpUntil(const std::function<bool()>& done, const std::function<void()>& step = {});
    // The same, through any Ctrl-C: for a job that is ending and must be let finish.
    void PumpToEnd(const std::function<bool()>& done, const std::function<void()>& step = {});
    // Waits for the terminal work just started, showing what it reports, until it has let go
    // of the line; Ctrl-C stops it. False, said on stderr, when it did not start (refusal).
    bool AwaitTerminal(const std::optional<std::string>& refusal);
    // Ctrl-C arrived while no script ran.
    bool QuitRequested() const { return quitRequested_; }
    // Says so on stderr when the port went away.
    bool ConnectionLost();
    // The port as the user named it ("SIM" when simulating).
    std::string PortName() const;
    // What may help when a typed line had no reply: no wake-up was tried.
    void ExplainSilence();

  private:
    // A pump's wait between two rounds.
    void Step(const std::function<void()>& step);
    bool OpenPort();
    void ExplainFailedWakeUp();
    // A search of the rates, after a whole wake-up brought no answer, where the port can do one.
    void SuggestSearch();
    bool SearchPort(const std::string& port);
    bool OpenLog();

    CliOptions options_;
    ConsoleLineReader& input_;
    std::FILE* out_;
    std::FILE* err_;
    SystemClock clock_;
    std::unique_ptr<Settings> settings_ = MakeSystemSettings();
    PortDevices ports_;
    ConsoleUiHost ui_;
    StreamOutputWindow window_;
    CSession session_;
    QueuedJobRelay relay_;
    TerminalService terminal_;
    bool quitRequested_ = false;
};

}  // namespace brennix::cli
