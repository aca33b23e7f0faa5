#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_command.h"
#include "instrument/unit_system.h"
#include "setup/setting_steps.h"
#include "setup/setup_sheet.h"

namespace brennix::cli {

// setup: what the four pages of the setup sheet show, as "Label: value" lines or one JSON
// object. setup --set WORD=VALUE ...: the settings of the Deploy and Advanced pages changed as
// the pages change them (same rules, same commands, only what differs, in page order), then
// "SaveSetup".
class SetupCommand : public CliCommand {
  public:
    bool Parse(CommandArguments& arguments) override;
    int Run(CliSession& session) override;

  private:
    struct Change {
        const SettingStep* step;
        std::string value;
    };

    bool ParseChange(CommandArguments& arguments, const std::string& setting);
    int Show(CliSession& cli, SetupSheet& sheet) const;
    int Apply(CliSession& cli, SetupSheet& sheet) const;
    bool Changes(SetupPage page) const;
    // False, with the reason on stderr, when a value cannot be taken as the page would take it.
    bool TakeValues(CliSession& cli, SetupSheet& sheet) const;
    bool SavePages(CliSession& cli, SetupSheet& sheet) const;

    std::optional<UnitSystem> units_;
    bool json_ = false;
    std::vector<Change> changes_;
};

// Opens the setup sheet on the instrument as the Setup menu does: the instrument check, then the
// three blocks. None, with the reason shown, when either fails.
std::optional<SetupRecord> OpenSetupRecord(CliSession& cli);

}  // namespace brennix::cli
