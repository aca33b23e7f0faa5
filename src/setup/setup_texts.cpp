#include "setup/setup_texts.h"

#include "platform/number_text.h"
#include "setup/control_table.h"
#include "setup/page_content.h"
#include "setup/setup_sheet.h"

namespace brennix {

namespace {

struct Words {
    const char* text;
    const char* caption = "";
    MessageIcon icon = MessageIcon::kNone;
};

constexpr Words kNotConnected = {
    "Failed to connect to the device\nPlease check the cables and try again !"};
constexpr Words kRecorderFull = {
    "Recorder is FULL or NEARLY FULL\nRetrieve data from recorder and then Format it before "
    "proceeding"};
constexpr Words kRecorderUnread = {
    "Unable to read the recorder's free space.\nThe deployment was not started."};
constexpr Words kUnsupportedMode = {"Unsupported deployment mode"};
constexpr Words kNotAwake = {"Unable to wake up instrument!"};
constexpr Words kStandardDone = {
    "Now disconnect the communication cable from \nthe Mirovan system for deployment.",
    "Mirovan deployment", MessageIcon::kInformation};
constexpr Words kSdi12Done = {
    "Now disconnect the communication cable\n and attach Tandrel SDI-12 converter. \n\nFor more "
    "information please refer to the manual.",
    "Mirovan SDI-12 deployment", MessageIcon::kInformation};

void Tell(UiHost& ui, const Words& words) {
    ui.ShowMessage(words.text, words.caption, MessageButtons::kOk, words.icon);
}

}  // namespace

std::string UnreadableText(const std::string& block) {
    return "The instrument's configuration could not be read: no valid answer to \"" + block +
           "\".\nCheck the cable and try again.";
}

std::string LockedText(const SetupSheet& sheet, SetupControl control) {
    if (sheet.Editable(control)) {
        return {};
    }
    return PlainLabel(ControlLabel(control, sheet.Units())) +
           " cannot be changed: " + std::string(SpecOf(control).locked) + ".";
}

void ShowRefusal(UiHost& ui, const Refusal& refusal) {
    if (refusal.source == Refusal::Source::kInstrument) {
        ui.ShowMessage(refusal.message, setup_texts::kInvalidInput, MessageButtons::kOk,
                       MessageIcon::kError);
    } else {
        ui.ShowMessage(refusal.message, "", MessageButtons::kOk, MessageIcon::kNone);
    }
}

void ShowOutcome(UiHost& ui, const SetupResult& result) {
    switch (result.outcome) {
        case SetupOutcome::kDone:
            if (result.job == SetupJob::kDeploy) {
                Tell(ui, result.deploy.mode == DeploymentMode::kSdi12 ? kSdi12Done : kStandardDone);
            }
            break;
        case SetupOutcome::kUnreadable:
            ui.ShowMessage(UnreadableText(result.unreadBlock), setup_texts::kCaption,
                           MessageButtons::kOk, MessageIcon::kExclamation);
            break;
        case SetupOutcome::kRefused:
            ShowRefusal(ui, *result.refusal);
            break;
        case SetupOutcome::kNotConnected:
            Tell(ui, kNotConnected);
            break;
        case SetupOutcome::kRecorderUnread:
            Tell(ui, kRecorderUnread);
            break;
        case SetupOutcome::kRecorderFull:
            Tell(ui, kRecorderFull);
            break;
        case SetupOutcome::kUnsupportedMode:
            Tell(ui, kUnsupportedMode);
            break;
        case SetupOutcome::kNotAwake:
            Tell(ui, kNotAwake);
            break;
        case SetupOutcome::kSdi12Cancelled:
        case SetupOutcome::kCommandFailed:
        case SetupOutcome::kStopped:
            break;
    }
}

std::string RecorderSpaceText(const std::optional<uint64_t>& freeBytes) {
    if (!freeBytes) {
        return "The recorder's space could not be read.";
    }
    return FormatText("The recorder has %llu bytes free.",
                      static_cast<unsigned long long>(*freeBytes));
}

}  // namespace brennix
