// brennix-cli: the console front end. Talks to an instrument on a serial port (or the built-in
// simulator) as the terminal window does, for scripting and for use without a desktop.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_session.h"

namespace {

brennix::cli::ConsoleUiHost* interruptTarget = nullptr;

// The first Ctrl-C stops the running script (or the terminal); a second one, arriving before the
// first was acted on, ends the program at once.
void OnInterrupt(int) {
    if (!interruptTarget || interruptTarget->InterruptPending()) {
        _exit(130);
    }
    interruptTarget->RequestInterrupt();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(brennix::cli::CliUsage(), stdout);
        return 0;
    }
    const brennix::cli::ParseResult parsed = brennix::cli::ParseCliOptions(arguments);
    if (!parsed.options) {
        std::fprintf(stderr, "brennix-cli: %s\n%s", parsed.error.c_str(), brennix::cli::CliUsage());
        return brennix::cli::kExitNoPort;
    }
    brennix::cli::ConsoleLineReader input(STDIN_FILENO);
    brennix::cli::CliSession session(*parsed.options, input, stdout, stderr);
    interruptTarget = &session.UiHost();
    std::signal(SIGINT, OnInterrupt);
    const int status = session.Run();
    interruptTarget = nullptr;
    return status;
}
