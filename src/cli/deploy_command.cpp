#include "cli/deploy_command.h"

#include <cstdio>

#include "cli/cli_session.h"
#include "cli/setup_command.h"
#include "platform/number_text.h"
#include "recorder/recorder_space.h"
#include "setup/deployment.h"

namespace brennix::cli {

namespace {

// The sheet's windows on the console: pages activate without being seen, and the SDI-12 dialog
// takes its values from the command line.
class ConsoleSheetHost : public SetupSheetHost {
  public:
    ConsoleSheetHost(SetupSheet& sheet, const std::string& address, const std::string& format,
                     const std::string& units)
        : sheet_(sheet), address_(address), format_(format), units_(units) {}

    void ActivatePage(SetupPage page) override {
        if (sheet_.ActivePage() != page) {
            sheet_.ShowPage(page);
        }
    }

    void FocusControl(const Refusal&) override {}

    bool RunSdi12Dialog() override {
        SetIfGiven(SetupControl::kSdi12Address, address_);
        SetIfGiven(SetupControl::kSdi12Format, format_);
        SetIfGiven(SetupControl::kSdi12Units, units_);
        if (const std::optional<Refusal> refusal = sheet_.SaveSdi12Dialog()) {
            ShowRefusal(sheet_.Ui(), *refusal);
            return false;
        }
        return true;
    }

  private:
    void SetIfGiven(SetupControl control, const std::string& value) {
        if (!value.empty()) {
            sheet_.SetValue(control, value);
        }
    }

    SetupSheet& sheet_;
    const std::string& address_;
    const std::string& format_;
    const std::string& units_;
};

}  // namespace

bool DeployCommand::Parse(CommandArguments& arguments) {
    std::string mode;
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

int DeployCommand::Run(CliSession& cli) {
    std::optional<SetupRecord> record = OpenSetupRecord(cli);
    if (!record) {
        return kExitFailed;
    }
    // Nothing is typed on the pages, so their unit system changes nothing that is sent.
    SetupSheet sheet(*record, cli.Session().Instrument(), cli.Ui(), UnitSystem::kMetric,
                     &ReadRecorderFreeBytes);
    sheet.ShowPage(SetupPage::kDeploy);
    if (sdi12_) {
        if (sheet.Choices(SetupControl::kMode).size() < 2) {
            std::fprintf(cli.Err(), "brennix-cli: this instrument has no SDI-12 option\n");
            return kExitFailed;
        }
        sheet.SetValue(SetupControl::kMode, "SDI-12");
    }
    cli.Ui().DeliverInterrupt();
    if (cli.QuitRequested()) {
        std::fprintf(cli.Err(), "brennix-cli: stopped; the deployment was not started\n");
        return kExitFailed;
    }
    ConsoleSheetHost host(sheet, address_, format_, units_);
    if (!DeployFromSheet(sheet, host)) {
        std::fprintf(cli.Err(), "brennix-cli: the deployment was not started\n");
        return kExitFailed;
    }
    std::fprintf(cli.Out(), "Deployment started (%s).\n", sdi12_ ? "SDI-12" : "Standard");
    return kExitOk;
}

}  // namespace brennix::cli
