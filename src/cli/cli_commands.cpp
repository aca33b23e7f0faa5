#include "cli/cli_command.h"

#include <array>
#include <vector>

#include "cli/exchange_commands.h"
#include "cli/records_command.h"
#include "cli/scan_command.h"
#include "cli/terminal_command.h"
#include "features/feature_list.h"

namespace brennix::cli {

namespace {

// The terminal's own commands, which need no feature.
constexpr std::array kTerminalCommands = {
    CliCommandEntry{"terminal", "terminal",
                    "type commands, see everything the instrument sends (default)",
                    &MakeCommand<TerminalCommand>},
    CliCommandEntry{"send", "send LINE [--wait MS]",
                    "send one line as a typed command, show replies for MS ms",
                    &MakeCommand<SendCommand>},
    CliCommandEntry{"identify", "identify", "wake the instrument and print its model",
                    &MakeCommand<IdentifyCommand>},
    CliCommandEntry{"config", "config", "print the Conf, User and Oper blocks as hex",
                    &MakeCommand<ConfigCommand>},
    CliCommandEntry{"run", "run FILE [--wait MS]", "run a command file",
                    &MakeCommand<RunFileCommand>},
    CliCommandEntry{"menu", "menu LABEL [--wait MS]",
                    "run a Commands menu entry by its label (menu --list lists them)",
                    &MakeCommand<MenuCommand>},
    CliCommandEntry{"scan", "scan [--addresses 1-15]",
                    "list the instruments on an RS-485 bus: address, model, version",
                    &MakeCommand<ScanCommand>},
};

// What the features leave behind, listed after them.
constexpr std::array kRecordCommands = {
    CliCommandEntry{"records", "records [--json]",
                    "list the deployment records in OstrelData/deployments, newest first",
                    &MakeCommand<RecordsCommand>},
};

std::vector<CliCommandEntry> AllCommands() {
    std::vector<CliCommandEntry> commands(kTerminalCommands.begin(), kTerminalCommands.end());
    Features::ForEach([&commands]<typename Feature>() {
        for (const CliCommandEntry& entry : ConsoleCommands<Feature>()) {
            commands.push_back(entry);
        }
    });
    commands.insert(commands.end(), kRecordCommands.begin(), kRecordCommands.end());
    return commands;
}

}  // namespace

std::span<const CliCommandEntry> CliCommands() {
    static const std::vector<CliCommandEntry> commands = AllCommands();
    return commands;
}

const CliCommandEntry* FindCliCommand(std::string_view name) {
    for (const CliCommandEntry& entry : CliCommands()) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

std::string CommandUsage(std::string_view name) {
    std::string usage;
    for (const CliCommandEntry& entry : CliCommands()) {
        if (entry.name == name) {
            usage += (usage.empty() ? "usage: brennix-cli [OPTIONS] "
                                    : "       brennix-cli [OPTIONS] ") +
                     std::string(entry.usage) + "\n         " + std::string(entry.summary) + "\n";
        }
    }
    return usage +
           "OPTIONS: (--port NAME|auto | --simulate) [--baud N|auto] [--log FILE "
           "[--log-time-stamps]]\n"
           "         [--rs485 N]\n"
           "(brennix-cli --help lists every command)\n";
}

std::string CliUsage() {
    std::string usage =
        "usage: brennix-cli (--port NAME|auto | --simulate [--model NAME]) [--baud N|auto]\n"
        "                   [--log FILE [--log-time-stamps]] [--rs485 N] [COMMAND [--help]]\n"
        "       brennix-cli --help | --version\n"
        "commands:\n";
    for (const CliCommandEntry& entry : CliCommands()) {
        std::string line = "  " + std::string(entry.usage);
        line.resize(std::max<size_t>(line.size() + 2, 30), ' ');
        usage += line + std::string(entry.summary) + "\n";
    }
    usage +=
        "exit status: 0 success, 1 the command failed, 2 a usage error or the port could not\n"
        "be opened\n";
    return usage;
}

}  // namespace brennix::cli
