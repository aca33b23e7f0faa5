#include "cli/deploy_command.h"

#include <cstdio>
#include <ctime>

#include "cli/cli_session.h"
#include "cli/setup_console.h"
#include "platform/number_text.h"
#include "platform/ostrel_data_folder.h"
#include "records/record_files.h"
#include "setup/setup_texts.h"

namespace brennix::cli {

bool DeployCommand::Parse(CommandArguments& arguments) {
    std::string mode;
    record_ = !arguments.TakeFlag("--no-record");
    if (!arguments.TakeChoice("--mode", {"standard", "sdi12"}, mode) ||
        !arguments.TakeText("--sdi12-address", address_) ||
        !arguments.TakeChoice("--sdi12-format", {"Ostrel", "Tandrel"}, format_) ||
        !arguments.TakeChoice("--sdi12-units", {"English", "Metric"}, units_)) {
        return false;
    }
    if (!address_.empty() && !ParseInteger(address_)) {
        return arguments.Reject("--sdi12-address needs a whole number, not '" + address_ + "'");
    }
    sdi12_ = mode == "sdi12";
    if (!sdi12_ && !(address_.empty() && format_.empty() && units_.empty())) {
        return arguments.Reject("the --sdi12-... options go with --mode sdi12");
    }
    return arguments.Finish();
}

// The SDI-12 deployment dialog takes its values from the command line; a refusal is said and
// cancels it.
bool DeployCommand::Sdi12Dialog(CliSession& cli, SetupSheet& sheet,
                                const std::optional<Refusal>& refused) const {
    if (refused) {
        ShowRefusal(cli.Ui(), *refused);
        return false;
    }
    for (const auto& [control, value] : {std::pair{SetupControl::kSdi12Address, &address_},
                                         {SetupControl::kSdi12Format, &format_},
                                         {SetupControl::kSdi12Units, &units_}}) {
        if (!value->empty()) {
            sheet.SetValue(control, *value);
        }
    }
    return true;
}

int DeployCommand::Run(CliSession& cli) {
    // Nothing is typed on the pages, so their unit system changes nothing that is sent.
    ConsoleSetup setup(cli, UnitSystem::kMetric, [this, &cli, &setup](const auto& refused) {
        return Sdi12Dialog(cli, setup.Sheet(), refused);
    });
    if (!setup.Open()) {
        return kExitFailed;
    }
    if (sdi12_) {
        if (setup.Sheet().Choices(SetupControl::kMode).size() < 2) {
            std::fprintf(cli.Err(), "brennix-cli: this instrument has no SDI-12 option\n");
            return kExitFailed;
        }
        setup.Sheet().SetValue(SetupControl::kMode, "SDI-12");
    }
    cli.Ui().DeliverInterrupt();
    if (cli.QuitRequested()) {
        std::fprintf(cli.Err(), "brennix-cli: %s Stopped.\n", kNoRecordText);
        return kExitFailed;
    }
    const auto deployed = setup.Run([](SetupService& s) { return s.Deploy(); });
    if (deployed) {
        ShowOutcome(cli.Ui(), *deployed);
    }
    if (!deployed || deployed->outcome != SetupOutcome::kDone) {
        std::fprintf(cli.Err(), "brennix-cli: %s\n", kNoRecordText);
        return kExitFailed;
    }
    std::fprintf(cli.Out(), "Deployment started (%s).\n", sdi12_ ? "SDI-12" : "Standard");
    return record_ ? KeepRecord(cli, setup.Sheet(), *deployed) : kExitOk;
}

// The record shows the pages in the unit system the desktop program was left in, as setup lists
// them. One that cannot be written fails the command, though the instrument is deployed.
int DeployCommand::KeepRecord(CliSession& cli, const SetupSheet& sheet,
                              const SetupResult& deployed) const {
    const UnitSystem units = UnitSystemFromSetting(cli.Store().Read(settings::kUnitSystem));
    const KeptRecord kept = KeepRecordOfDeployment(
        {std::time(nullptr), deployed, sheet, units, cli.Session()}, OstrelDataFolder());
    for (const std::string& line : kept.report) {
        std::fprintf(kept.written ? cli.Out() : cli.Err(), "%s%s\n",
                     kept.written ? "" : "brennix-cli: ", line.c_str());
    }
    return kept.written ? kExitOk : kExitFailed;
}

}  // namespace brennix::cli
