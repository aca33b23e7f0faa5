#include "cli/cli_command.h"

#include <array>

#include "cli/compass_command.h"
#include "cli/diag_command.h"
#include "cli/deploy_command.h"
#include "cli/exchange_commands.h"
#include "cli/recorder_command.h"
#include "cli/setup_command.h"
#include "cli/terminal_command.h"

namespace brennix::cli {

namespace {

template <typename Command>
std::unique_ptr<CliCommand> Make() {
    return std::make_unique<Command>();
}

constexpr std::array kCommands = {
    CliCommandEntry{"terminal", "terminal",
                    "type commands, see everything the instrument sends (default)",
                    &Make<TerminalCommand>},
    CliCommandEntry{"send", "send LINE [--wait MS]",
                    "send one line as a typed command, show replies for MS ms", &Make<SendCommand>},
    CliCommandEntry{"identify", "identify", "wake the instrument and print its model",
                    &Make<IdentifyCommand>},
    CliCommandEntry{"config", "config", "print the Conf, User and Oper blocks as hex",
                    &Make<ConfigCommand>},
    CliCommandEntry{"run", "run FILE [--wait MS]", "run a command file", &Make<RunFileCommand>},
    CliCommandEntry{"menu", "menu LABEL [--wait MS]",
                    "run a Commands menu entry by its label (menu --list lists them)",
                    &Make<MenuCommand>},
    CliCommandEntry{"setup", "setup [--units U] [--json | --set W=V...]",
                    "show a Mirovan's setup pages, or set W (SI, CB...); U metric|english",
                    &Make<SetupCommand>},
    CliCommandEntry{"deploy", "deploy [--mode standard|sdi12]",
                    "start a Mirovan deployment; SDI-12: --sdi12-address/-format/-units",
                    &Make<DeployCommand>},
    CliCommandEntry{"compass", "compass [--seconds N]",
                    "calibrate the compass: attitude as it changes, scores at Enter or after N s",
                    &Make<CompassCommand>},
    CliCommandEntry{"diag", "diag [--frames N] [--record FILE] [--play FILE] [--average]",
                    "beam diagnostics: one line per frame, until N frames or Ctrl-C",
                    &Make<DiagCommand>},
    // One command, shown in its three forms.
    CliCommandEntry{"recorder", "recorder list", "list the recorder's files and its used space",
                    &Make<RecorderCommand>},
    CliCommandEntry{"recorder", "recorder download NAME...|--all",
                    "download files [--to DIR] [--rate N] [--replace ask|yes|no|all]",
                    &Make<RecorderCommand>},
    CliCommandEntry{"recorder", "recorder format [--yes]", "erase the recorder's memory card",
                    &Make<RecorderCommand>},
};

}  // namespace

std::span<const CliCommandEntry> CliCommands() {
    return kCommands;
}

const CliCommandEntry* FindCliCommand(std::string_view name) {
    for (const CliCommandEntry& entry : kCommands) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

std::string CliUsage() {
    std::string usage =
        "usage: brennix-cli (--port NAME | --simulate [--model NAME]) [--baud N] [--log FILE]\n"
        "                   [--rs485 N] [COMMAND]\n"
        "       brennix-cli --help | --version\n"
        "commands:\n";
    for (const CliCommandEntry& entry : kCommands) {
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
