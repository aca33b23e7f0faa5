#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "instrument/unit_system.h"
#include "setup/control_table.h"

namespace brennix::cli {

class ConsoleSetup;

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
        const ControlSpec* spec;
        std::string value;
    };

    bool ParseChange(CommandArguments& arguments, const std::string& setting);
    int Show(CliSession& cli, ConsoleSetup& setup) const;
    int Apply(CliSession& cli, ConsoleSetup& setup) const;
    std::vector<SetupPage> ChangedPages() const;
    // False, with the reason on stderr, when a value cannot be taken as the page would take it.
    bool TakeValues(CliSession& cli, SetupSheet& sheet) const;

    std::optional<UnitSystem> units_;
    bool json_ = false;
    std::vector<Change> changes_;
};

}  // namespace brennix::cli
