#pragma once

#include <cstdio>
#include <memory>

#include "cli/cli_options.h"
#include "cli/console_line_reader.h"
#include "cli/console_ui_host.h"
#include "cli/stream_output_window.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "session/session.h"
#include "sim/simulated_instrument.h"

namespace brennix::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitNoPort = 2;

// One run of brennix-cli: the port and a session on it, and the chosen command carried out.
class CliSession {
  public:
    CliSession(const CliOptions& options, ConsoleLineReader& input, std::FILE* out, std::FILE* err);
    ~CliSession();

    int Run();
    ConsoleUiHost& UiHost() { return ui_; }

  private:
    bool OpenPort();
    bool OpenLog();
    int RunTerminal();
    int RunSend();
    int RunIdentify();
    int RunConfig();
    int RunCommandFile();
    int RunMenuEntry();
    // Shows what the instrument sends for ms milliseconds.
    void PollFor(uint32_t ms);
    bool ConnectionLost();
    int ResultOf(bool succeeded) const { return succeeded ? kExitOk : kExitFailed; }

    CliOptions options_;
    ConsoleLineReader& input_;
    std::FILE* out_;
    std::FILE* err_;
    SystemClock clock_;
    std::unique_ptr<sim::SimulatedInstrument> simulator_;
    std::unique_ptr<SerialDevice> device_;
    ConsoleUiHost ui_;
    StreamOutputWindow window_;
    CSession session_;
    bool quitRequested_ = false;
};

}  // namespace brennix::cli
