#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/command_arguments.h"

namespace brennix::cli {

class CliSession;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
// The command line was not understood, or the port could not be opened.
inline constexpr int kExitUsage = 2;

// One command of brennix-cli. It takes its own arguments before the port is opened, so a typing
// error costs no wake-up, then runs on the session.
class CliCommand {
  public:
    virtual ~CliCommand() = default;
    // False, with arguments' error set, when the arguments are not understood.
    virtual bool Parse(CommandArguments& arguments) = 0;
    // The exit status.
    virtual int Run(CliSession& session) = 0;
    // A command that needs no instrument this time (a listing) runs here, before any port is
    // opened, and gives its exit status; none for every other.
    virtual std::optional<int> RunWithoutPort(std::FILE*) { return std::nullopt; }
};

template <typename Command>
std::unique_ptr<CliCommand> MakeCommand() {
    return std::make_unique<Command>();
}

struct CliCommandEntry {
    std::string_view name;
    std::string_view usage;    // the command and its arguments, e.g. "send LINE [--wait MS]"
    std::string_view summary;  // what it does, in one line
    std::unique_ptr<CliCommand> (*make)();
};

// A feature's commands (features/feature_list.h), defined beside each command's class.
template <typename Feature>
std::span<const CliCommandEntry> ConsoleCommands();

// Every command, in the order the usage lists them: the terminal's own, then each feature's.
std::span<const CliCommandEntry> CliCommands();
const CliCommandEntry* FindCliCommand(std::string_view name);
std::string CliUsage();
// The usage of one command (its every form), as --help and a usage error show it.
std::string CommandUsage(std::string_view name);

}  // namespace brennix::cli
