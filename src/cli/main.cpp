// brennix-cli: the console front end. Talks to an instrument on a serial port (or the built-in
// simulator) as the terminal window does, for scripting and for use without a desktop.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "cli/cli_session.h"
#include "cli/line_editor.h"
#include "platform/console_input.h"
#include "platform/exit_signals.h"
#include "platform/system_serial_device.h"

namespace {

constexpr int kStandardInput = 0;
constexpr int kStandardOutput = 1;

brennix::cli::ConsoleUiHost* interruptTarget = nullptr;

// The first Ctrl-C stops the running script (or the command), which puts the instrument back as
// it was; a deliberate second one, before the first was acted on, ends the program at once. A
// closed terminal (SIGHUP) or a kill (SIGTERM) is taken the same way: a download at another
// rate still ends with the rate put back and its partial file reported.
void OnInterrupt() {
    using Meaning = brennix::cli::ConsoleUiHost::InterruptMeaning;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const Meaning meaning =
        interruptTarget ? interruptTarget->TakeInterrupt(
                              std::chrono::duration_cast<std::chrono::nanoseconds>(now).count())
                        : Meaning::kEndNow;
    if (meaning == Meaning::kEndNow) {
        brennix::ReleaseSystemSerialPorts();
        brennix::RestoreConsoleMode();
        brennix::EndProgramNow(130);
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
        brennix::IsConsoleTerminal(kStandardInput) && brennix::IsConsoleTerminal(kStandardOutput)
            ? MakeLineEditor(kStandardInput)
            : std::make_unique<ConsoleLineReader>(kStandardInput);
    CliSession session(*parsed.options, *input, stdout, stderr);
    interruptTarget = &session.Ui();
    brennix::HandleConsoleStopRequests(&OnInterrupt, &brennix::RestoreConsoleMode);
    const int status = session.Run(*command);
    interruptTarget = nullptr;
    return status;
}
