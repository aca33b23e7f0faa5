#pragma once

#include <cstdint>

#include "cli/cli_command.h"

namespace brennix::cli {

// compass [--seconds N]: the compass calibration, with the attitude printed as it changes and
// the scores at the end. Ends after N seconds, or when Enter is pressed.
class CompassCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    uint32_t seconds_ = 0;  // 0: until Enter
};

}  // namespace brennix::cli
