#pragma once

#include "cli/cli_command.h"

namespace brennix::cli {

// The console terminal: each typed line is sent as a typed command, everything the instrument
// sends appears as it arrives; ends at the end of the input or on Ctrl-C.
class TerminalCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override { return arguments.Finish(); }
    int Run(CliSession& session) override;
};

}  // namespace brennix::cli
