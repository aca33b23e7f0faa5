#pragma once

#include <optional>
#include <string>

#include "cli/cli_command.h"
#include "setup/setup_sheet.h"

namespace brennix::cli {

// deploy: the Deploy button of the setup sheet, with nothing changed on the pages: the
// instrument is identified, the Deploy page checked, every page applied, the recorder's space
// checked, and the mode's commands start the deployment. In SDI-12 mode the options stand for
// the SDI-12 deployment dialog.
class DeployCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    bool Sdi12Dialog(CliSession& cli, SetupSheet& sheet,
                     const std::optional<Refusal>& refused) const;

    bool sdi12_ = false;
    std::string address_;
    std::string format_;
    std::string units_;
};

}  // namespace brennix::cli
