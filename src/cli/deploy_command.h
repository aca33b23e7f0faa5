#pragma once

#include <optional>
#include <string>

#include "cli/cli_command.h"
#include "setup/setup_result.h"
#include "setup/setup_sheet.h"

namespace brennix::cli {

// deploy: the Deploy button of the setup sheet, with nothing changed on the pages: the
// instrument is identified, the Deploy page checked, every page applied, the recorder's space
// checked, and the mode's commands start the deployment. In SDI-12 mode the options stand for
// the SDI-12 deployment dialog. A deployment that started is recorded in OstrelData/deployments
// unless --no-record.
class DeployCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    bool Sdi12Dialog(CliSession& cli, SetupSheet& sheet,
                     const std::optional<Refusal>& refused) const;
    int KeepRecord(CliSession& cli, const SetupSheet& sheet, const SetupResult& deployed) const;

    bool sdi12_ = false;
    bool record_ = true;
    std::string address_;
    std::string format_;
    std::string units_;
};

}  // namespace brennix::cli
