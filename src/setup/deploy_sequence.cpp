#include "setup/deploy_sequence.h"

#include <ctime>

#include "instrument/instrument_codes.h"
#include "setup/deploy_rules.h"
#include "setup/page_content.h"
#include "setup/setup_service.h"

namespace brennix {

DeploySequence::DeploySequence(SheetExchange& exchange, JobReporter<SetupListener>& report,
                               SetupResult& result, const StopEvent& stop)
    : exchange_(exchange),
      sheet_(exchange.Sheet()),
      report_(report),
      result_(result),
      stop_(stop) {}

bool DeploySequence::Fail(SetupOutcome outcome) {
    result_.outcome = outcome;
    return false;
}

void DeploySequence::Run() {
    result_.deploy.model = exchange_.Instrument().FindInstrument(true, false);
    result_.deploy.banner = exchange_.Instrument().LastVersionLine();
    if (result_.deploy.model != kMirovan) {
        Fail(SetupOutcome::kNotConnected);
        return;
    }
    if ((result_.refusal = sheet_.CheckPage(SetupPage::kDeploy)) ||
        (result_.refusal =
             CheckStart(sheet_.Value(SetupControl::kStartDate),
                        sheet_.Value(SetupControl::kStartTime), std::time(nullptr)))) {
        result_.page = SetupPage::kDeploy;
        Fail(SetupOutcome::kRefused);
        return;
    }
    if (!ApplyAllPages()) {
        return;
    }
    exchange_.Instrument().GetLink()->FlushInput(true);
    // The pages were applied one after the other: the deployment goes on, and the technician
    // after it, where Deploy was pressed.
    Activate(SetupPage::kDeploy);
    RunDeployment();
}

void DeploySequence::Activate(SetupPage page) {
    if (sheet_.ActivePage() == page) {
        return;
    }
    exchange_.ShowPage(page);
    report_.Ask([page](SetupListener& l) { l.OnPageShown(page); });
}

bool DeploySequence::ApplyAllPages() {
    for (const SetupPage page : kSetupPages) {
        Activate(page);
        if ((result_.refusal = exchange_.SavePage(page))) {
            result_.page = page;
            return Fail(SetupOutcome::kRefused);
        }
    }
    exchange_.SaveSetupIfModified();
    exchange_.Instrument().GetLink()->FlushInput(true);
    return true;
}

bool DeploySequence::RecorderHasRoom() {
    if (!sheet_.FreeRecorderBytes()) {
        exchange_.ReadRecorderSpace();
    }
    const std::optional<uint64_t> freeBytes = sheet_.FreeRecorderBytes();
    if (!freeBytes) {
        return Fail(SetupOutcome::kRecorderUnread);
    }
    if (*freeBytes < kMinFreeRecorderBytes) {
        return Fail(SetupOutcome::kRecorderFull);
    }
    result_.deploy.recorder = sheet_.Recorder();
    return true;
}

bool DeploySequence::RunDeployment() {
    if (!RecorderHasRoom()) {
        return false;
    }
    const int mode =
        ChoiceIndex(sheet_.Choices(SetupControl::kMode), sheet_.Value(SetupControl::kMode));
    switch (mode) {
        case static_cast<int>(DeploymentMode::kStandard):
            result_.deploy.mode = DeploymentMode::kStandard;
            if (!exchange_.Send("OF ASCII") || !exchange_.Send("deploy")) {
                return Fail(SetupOutcome::kCommandFailed);
            }
            return true;
        case static_cast<int>(DeploymentMode::kSdi12):
            result_.deploy.mode = DeploymentMode::kSdi12;
            return RunSdi12();
        default:
            return Fail(SetupOutcome::kUnsupportedMode);
    }
}

// The dialog stays until its values are taken or it is cancelled; a refusal brings it back on
// the control concerned.
bool DeploySequence::RunSdi12() {
    sheet_.LoadSdi12Dialog();
    std::optional<Refusal> refused;
    do {
        const bool deploy =
            report_.Ask([&refused](SetupListener& l) { return l.RunSdi12Dialog(refused); });
        if (!deploy || stop_.IsSet()) {
            return Fail(SetupOutcome::kSdi12Cancelled);
        }
        refused = exchange_.Save(ControlHome::kSdi12Dialog);
    } while (refused);
    result_.deploy.sdi12 = Sdi12Choice{sheet_.Value(SetupControl::kSdi12Address),
                                       sheet_.Value(SetupControl::kSdi12Format),
                                       sheet_.Value(SetupControl::kSdi12Units)};
    if (!exchange_.Send("sample")) {
        return Fail(SetupOutcome::kCommandFailed);
    }
    return true;
}

}  // namespace brennix
