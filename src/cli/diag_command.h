#pragma once

#include <cstdint>
#include <string>

#include "cli/cli_command.h"

namespace brennix::cli {

// diag [--frames N] [--record FILE] [--play FILE] [--average]: the beam diagnostics, one line per
// decoded frame, until N frames or Ctrl-C; with --play from a recording instead of the
// instrument.
class DiagCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    uint32_t frames_ = 0;  // 0: until Ctrl-C
    std::string recordPath_;
    std::string playPath_;
    bool average_ = false;
};

}  // namespace brennix::cli
