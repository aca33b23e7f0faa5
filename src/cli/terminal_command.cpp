#include "cli/terminal_command.h"

#include <cstdio>

#include "cli/cli_session.h"
#include "link/serial_poll.h"
#include "platform/console_input.h"

namespace brennix::cli {

namespace {

constexpr uint32_t kTerminalPollMs = 500;

}  // namespace

int TerminalCommand::Run(CliSession& cli) {
    CSerialLink& link = cli.Session().Link();
    std::fprintf(cli.Err(), "Connected to %s at %u (%s ends)\n", cli.PortName().c_str(),
                 link.GetBaudRate(), ConsoleEndOfInputKeys());
    cli.ShowOutput();
    std::string line;
    while (!cli.QuitRequested()) {
        const ConsoleLineReader::Result result = cli.Input().ReadLine(line, kTerminalPollMs);
        if (result == ConsoleLineReader::Result::kEnd) {
            SerialPoll::Run(link);
            break;
        }
        if (result == ConsoleLineReader::Result::kLine) {
            cli.Input().TakeBackTypedLine();
            cli.AwaitTerminal(cli.Terminal().SendLine(line, nullptr));
        }
        SerialPoll::Run(link);
        cli.Ui().DeliverInterrupt();
        if (cli.ConnectionLost()) {
            return kExitFailed;
        }
    }
    return kExitOk;
}

}  // namespace brennix::cli
