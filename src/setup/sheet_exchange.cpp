#include "setup/sheet_exchange.h"

#include <algorithm>
#include <variant>

#include "setup/control_table.h"

namespace brennix {

namespace {

// What a refusal says when the instrument said nothing at all.
constexpr const char* kNoReply = "Unknown Error ";

// The wait for "OK" starts its buffer afresh, so a silent instrument leaves it empty.
std::string ReplyText(const std::vector<char>& reply) {
    const std::string text(reply.begin(), std::find(reply.begin(), reply.end(), '\0'));
    return text.find_first_not_of(" \r\n>") == std::string::npos ? kNoReply : text;
}

}  // namespace

SheetExchange::SheetExchange(SetupSheet& sheet, WorkerSession& worker,
                             std::vector<SentCommand>& sent)
    : sheet_(sheet),
      instrument_(worker.Instrument()),
      typedLine_(worker.TypedLine()),
      sent_(sent) {}

void SheetExchange::ShowPage(SetupPage page) {
    const bool first = sheet_.FirstShowing(page);
    if (page == SetupPage::kAdvanced && first) {
        sheet_.SetWavesAvailable(AskWavesAvailable());
    }
    sheet_.LoadPage(page);
}

void SheetExchange::EnterPage(SetupPage page) {
    ShowPage(page);
    if (page == SetupPage::kDeploy && !sheet_.FreeRecorderBytes()) {
        ReadRecorderSpace();
    }
}

bool SheetExchange::AskWavesAvailable() {
    std::vector<char> reply(kWavesReplySize, '\0');
    const bool sent = instrument_.SendCommand("enablewaves");
    const bool yes = sent && instrument_.WaitFor(reply, "YES", kWavesReplyMs, true);
    sent_.push_back({"enablewaves", yes, ReplyText(reply)});
    return yes;
}

std::optional<Refusal> SheetExchange::SavePage(SetupPage page) {
    if (page == SetupPage::kAdvanced) {
        sheet_.ClearWaveExtras();
    }
    const std::optional<ControlHome> home = HomeOf(page);
    return home ? Save(*home) : std::nullopt;
}

std::optional<Refusal> SheetExchange::Save(ControlHome home) {
    for (const ControlSpec* spec : SaveOrder(home)) {
        const SetupControl control = spec->control;
        auto planned = PlanStep(*spec, sheet_.Value(control), sheet_.Shown(control),
                                sheet_.Record(), sheet_.Units(), sheet_.Choices(control));
        if (auto* refusal = std::get_if<Refusal>(&planned)) {
            return *refusal;
        }
        const StepPlan& plan = std::get<StepPlan>(planned);
        if (!plan.write) {
            continue;
        }
        const SentCommand sent = WriteSetting(plan.command);
        if (!sent.accepted) {
            return Refusal{Refusal::Source::kInstrument, sent.reply, control, false, sent.command};
        }
        if (plan.store) {
            plan.store(sheet_.Record());
        }
    }
    return std::nullopt;
}

std::optional<Refusal> SheetExchange::LeavePage(SetupPage page) {
    if (auto refusal = sheet_.CheckPage(page)) {
        return refusal;
    }
    if (auto refusal = SavePage(page)) {
        return refusal;
    }
    SaveSetupIfModified();
    return std::nullopt;
}

SentCommand SheetExchange::WriteSetting(const std::string& command) {
    std::vector<char> reply(kReplySize, '\0');
    // A setting goes out as a typed line would, with the terminal's variables.
    const bool accepted =
        instrument_.ExecCommand(command, reply, true, kSettingTimeoutMs, typedLine_);
    if (accepted) {
        sheet_.SetModified(true);
    }
    sent_.push_back({command, accepted, ReplyText(reply)});
    return sent_.back();
}

void SheetExchange::SaveSetupIfModified() {
    if (sheet_.Modified()) {
        // Not acknowledged is no reason to keep asking: the flag is cleared all the same.
        Send("SaveSetup");
    }
    sheet_.SetModified(false);
}

bool SheetExchange::Send(const std::string& command) {
    const bool echoed = instrument_.SendCommand(command);
    sent_.push_back({command, echoed, {}});
    return echoed;
}

bool SheetExchange::ReadRecorderSpace() {
    sheet_.SetRecorder(ReadRecorderListing(instrument_));
    return sheet_.Recorder().has_value();
}

}  // namespace brennix
