#include "setup/deployment.h"

#include "instrument/instrument_codes.h"
#include "setup/page_content.h"

namespace brennix {

namespace {

constexpr const char* kNotConnected =
    "Failed to connect to the device\nPlease check the cables and try again !";
constexpr const char* kRecorderFull =
    "Recorder is FULL or NEARLY FULL\nRetrieve data from recorder and then Format it before "
    "proceeding";
constexpr const char* kRecorderUnread =
    "Unable to read the recorder's free space.\nThe deployment was not started.";
constexpr const char* kStandardDone =
    "Now disconnect the communication cable from \nthe Mirovan system for deployment.";
constexpr const char* kSdi12Done =
    "Now disconnect the communication cable\n and attach Tandrel SDI-12 converter. \n\nFor more "
    "information please refer to the manual.";

void Tell(UiHost& ui, const std::string& text, const std::string& caption = "",
          MessageIcon icon = MessageIcon::kNone) {
    ui.ShowMessage(text, caption, MessageButtons::kOk, icon);
}

bool RecorderHasRoom(SetupSheet& sheet) {
    if (!sheet.FreeRecorderBytes()) {
        sheet.ReadRecorderSpace();
    }
    const std::optional<uint64_t> freeBytes = sheet.FreeRecorderBytes();
    if (!freeBytes) {
        Tell(sheet.Ui(), kRecorderUnread);
        return false;
    }
    if (*freeBytes < kMinFreeRecorderBytes) {
        Tell(sheet.Ui(), kRecorderFull);
        return false;
    }
    return true;
}

}  // namespace

void ShowRefusal(UiHost& ui, const Refusal& refusal) {
    if (refusal.source == Refusal::Source::kInstrument) {
        ui.ShowMessage(refusal.message, "Invalid input", MessageButtons::kOk, MessageIcon::kError);
    } else {
        Tell(ui, refusal.message);
    }
}

bool ApplyAllPages(SetupSheet& sheet, SetupSheetHost& host) {
    for (const SetupPage page : kSetupPages) {
        host.ActivatePage(page);
        if (const std::optional<Refusal> refusal = sheet.SavePage(page)) {
            ShowRefusal(sheet.Ui(), *refusal);
            host.ActivatePage(page);
            host.FocusControl(*refusal);
            return false;
        }
    }
    sheet.SaveSetupIfModified();
    if (CSerialLink* link = sheet.Instrument().GetLink()) {
        link->FlushInput(true);
    }
    return true;
}

bool DeployFromSheet(SetupSheet& sheet, SetupSheetHost& host) {
    if (sheet.Instrument().FindInstrument(true, false) != kMirovan) {
        Tell(sheet.Ui(), kNotConnected);
        return false;
    }
    if (const std::optional<Refusal> refusal = sheet.CheckPage(SetupPage::kDeploy)) {
        ShowRefusal(sheet.Ui(), *refusal);
        host.FocusControl(*refusal);
        return false;
    }
    if (!ApplyAllPages(sheet, host)) {
        return false;
    }
    if (CSerialLink* link = sheet.Instrument().GetLink()) {
        link->FlushInput(true);
    }
    const int mode =
        ChoiceIndex(sheet.Choices(SetupControl::kMode), sheet.Value(SetupControl::kMode));
    if (RunDeployment(sheet, host, mode)) {
        return true;
    }
    // The pages were applied one after the other; the technician goes on where Deploy was pressed.
    host.ActivatePage(SetupPage::kDeploy);
    return false;
}

bool RunDeployment(SetupSheet& sheet, SetupSheetHost& host, int mode) {
    if (!RecorderHasRoom(sheet)) {
        return false;
    }
    CInstrument& instrument = sheet.Instrument();
    switch (mode) {
        case static_cast<int>(DeploymentMode::kStandard):
            if (!instrument.SendCommand("OF ASCII") || !instrument.SendCommand("deploy")) {
                return false;
            }
            Tell(sheet.Ui(), kStandardDone, "Mirovan deployment", MessageIcon::kInformation);
            return true;
        case static_cast<int>(DeploymentMode::kSdi12):
            sheet.OpenSdi12Dialog();
            if (!host.RunSdi12Dialog() || !instrument.SendCommand("sample")) {
                return false;
            }
            Tell(sheet.Ui(), kSdi12Done, "Mirovan SDI-12 deployment", MessageIcon::kInformation);
            return true;
        default:
            Tell(sheet.Ui(), "Unsupported deployment mode");
            return false;
    }
}

}  // namespace brennix
