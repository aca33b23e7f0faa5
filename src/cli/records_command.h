#pragma once

#include "cli/cli_command.h"

namespace brennix::cli {

// records [--json]: the deployment records in OstrelData/deployments, newest first: when, the
// serial number, the mode and the file. Needs no instrument.
class RecordsCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;
    std::optional<int> RunWithoutPort(std::FILE* out) override;

  private:
    bool json_ = false;
};

}  // namespace brennix::cli
