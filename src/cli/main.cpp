// brennix-cli: the console front end. Talks to an instrument on a serial port (or the built-in
// simulator) as the terminal window does, for scripting and for use without a desktop.
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "cli/cli_session.h"
#include "cli/line_editor.h"
#include "platform/exit_signals.h"
#include "platform/system_serial_device.h"

namespace {

brennix::cli::ConsoleUiHost* interruptTarget = nullptr;

// The first Ctrl-C stops the running script (or the command), which puts the instrument back as
// it was; a deliberate second one, before the first was acted on, ends the program at once. A
// closed terminal (SIGHUP) or a kill (SIGTERM) is taken the same way: a download at another
// rate still ends with the rate put back and its partial file reported.
void OnInterrupt(int) {
    using Meaning = brennix::cli::ConsoleUiHost::InterruptMeaning;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const Meaning meaning =
        interruptTarget ? interruptTarget->TakeInterrupt(now.tv_sec * 1'000'000'000LL + now.tv_nsec)
                        : Meaning::kEndNow;
    if (meaning == Meaning::kEndNow) {
        brennix::ReleaseSystemSerialPorts();
        brennix::cli::LineEditor::RestoreTerminal();
        _exit(130);
    }
}

// A mistake in one command's arguments shows that command's usage, not every command's.
int UsageError(const std::string& message, const std::string& usage) {
    std::fprintf(stderr, "brennix-cli: %s\n%s", message.c_str(), usage.c_str());
    return brennix::cli::kExitUsage;
}

bool AsksForHelp(const std::vector<std::string>& arguments) {
    return std::any_of(arguments.begin(), arguments.end(),
                       [](const std::string& word) { return word == "--help" || word == "-h"; });
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brennix::cli;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(CliUsage().c_str(), stdout);
        return kExitOk;
    }
    if (!arguments.empty() && arguments[0] == "--version") {
        std::puts("brennix-cli " BRENNIX_VERSION);
        return kExitOk;
    }
    const ParseResult parsed = ParseCliOptions(arguments);
    if (!parsed.options) {
        return UsageError(parsed.error, CliUsage());
    }
    for (const std::string& warning : parsed.warnings) {
        std::fprintf(stderr, "brennix-cli: warning: %s\n", warning.c_str());
    }
    const CliCommandEntry* entry = FindCliCommand(parsed.options->command);
    if (!entry) {
        return UsageError("unknown command " + parsed.options->command, CliUsage());
    }
    const std::string usage = CommandUsage(entry->name);
    if (AsksForHelp(parsed.options->commandArguments)) {
        std::fputs(usage.c_str(), stdout);
        return kExitOk;
    }
    const std::unique_ptr<CliCommand> command = entry->make();
    CommandArguments commandArguments(parsed.options->commandArguments);
    if (!command->Parse(commandArguments)) {
        return UsageError(commandArguments.Error(), usage);
    }
    if (const std::optional<int> status = command->RunWithoutPort(stdout)) {
        return *status;
    }
    if (const std::string error = PortChoiceError(*parsed.options); !error.empty()) {
        return UsageError(error, usage);
    }
    // A person at a terminal gets line editing; piped input is read as it comes.
    const std::unique_ptr<ConsoleLineReader> input =
        isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)
            ? std::make_unique<LineEditor>(STDIN_FILENO)
            : std::make_unique<ConsoleLineReader>(STDIN_FILENO);
    CliSession session(*parsed.options, *input, stdout, stderr);
    interruptTarget = &session.Ui();
    for (const int stopSignal : {SIGINT, SIGTERM, SIGHUP}) {
        std::signal(stopSignal, OnInterrupt);
    }
    // Whoever read our output may be gone (a closed terminal, a pipe): writes fail instead.
    std::signal(SIGPIPE, SIG_IGN);
    brennix::ReleasePortsOnSignals({SIGQUIT}, &LineEditor::RestoreTerminal);
    const int status = session.Run(*command);
    interruptTarget = nullptr;
    return status;
}
