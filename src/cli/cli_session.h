#pragma once

#include <cstdio>
#include <memory>

#include "cli/cli_options.h"
#include "cli/console_line_reader.h"
#include "cli/console_ui_host.h"
#include "cli/stream_output_window.h"
#include "instrument/instrument.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "script/script_engine.h"
#include "sim/simulated_instrument.h"

namespace brennix::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitNoPort = 2;

// One run of brennix-cli: the port, link, instrument and engine wired as the terminal window wires
// them, and the chosen command carried out on them.
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
    CSerialLink link_;
    CInstrument instrument_;
    CScriptEngine engine_;
    bool quitRequested_ = false;
};

}  // namespace brennix::cli
