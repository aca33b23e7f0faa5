#include "setup/setup_sheet.h"

#include <algorithm>
#include <utility>
#include <variant>

#include "setup/days_remaining.h"
#include "setup/deploy_rules.h"
#include "setup/page_content.h"
#include "setup/sound_speed.h"
#include "setup/value_names.h"

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

SetupSheet::SetupSheet(SetupRecord& record, CInstrument& instrument, UiHost& ui, UnitSystem units,
                       FreeSpaceReader readFreeSpace)
    : record_(record),
      instrument_(instrument),
      ui_(ui),
      units_(units),
      readFreeSpace_(std::move(readFreeSpace)) {}

const std::string& SetupSheet::Value(SetupControl control) const {
    return ValueOf(values_, control);
}

void SetupSheet::SetValue(SetupControl control, std::string text) {
    values_[control] = std::move(text);
    if (control == SetupControl::kTemperature || control == SetupControl::kSalinity ||
        control == SetupControl::kWaterDepth) {
        values_[SetupControl::kSoundSpeed] = SoundSpeedText(
            Value(SetupControl::kSalinity), Value(SetupControl::kTemperature), units_);
    }
}

std::vector<std::string_view> SetupSheet::Choices(SetupControl control) const {
    return ControlChoices(control, record_);
}

int SetupSheet::SelectedIndex(SetupControl control) const {
    return ChoiceIndex(Choices(control), Value(control));
}

bool SetupSheet::Enabled(SetupControl control) const {
    switch (control) {
        case SetupControl::kCellBegin:
        case SetupControl::kCellEnd:
            return CellsEditable(record_);
        case SetupControl::kDynBoundAdj:
            return record_.Conf().SystemType() == system_types::kVw;
        case SetupControl::kWaveSpectra:
            return wavesAvailable_;
        default:
            return true;
    }
}

bool SetupSheet::ReadOnly(SetupControl control) const {
    switch (control) {
        case SetupControl::kTemperature:
            return SelectedIndex(SetupControl::kTempMode) != 0;
        case SetupControl::kWaterDepth:
            return !wavesAvailable_ || SelectedIndex(SetupControl::kWaveSpectra) == 0;
        case SetupControl::kSoundSpeed:
            return true;
        default:
            return false;
    }
}

void SetupSheet::ShowPage(SetupPage page) {
    const bool first = initialised_.insert(page).second;
    active_ = page;
    switch (page) {
        case SetupPage::kDeploy:
            Load(LoadDeployPage(record_, units_));
            if (!freeBytes_) {
                ReadRecorderSpace();
            }
            break;
        case SetupPage::kAdvanced:
            if (first) {
                wavesAvailable_ = AskWavesAvailable();
            }
            Load(LoadAdvancedPage(record_, units_));
            break;
        case SetupPage::kHardware:
            break;
        case SetupPage::kOptions:
            LoadOptionsPage(record_);
            break;
    }
}

void SetupSheet::Load(const ControlValues& values) {
    for (const auto& [control, text] : values) {
        values_[control] = text;
        shown_[control] = text;
    }
}

bool SetupSheet::AskWavesAvailable() {
    std::vector<char> reply(kWavesReplySize, '\0');
    return instrument_.SendCommand("enablewaves") &&
           instrument_.WaitFor(reply, "YES", kWavesReplyMs, true);
}

std::optional<Refusal> SetupSheet::CheckPage(SetupPage page) const {
    switch (page) {
        case SetupPage::kDeploy:
            return ValidateDeployPage(values_, shown_, record_, units_);
        case SetupPage::kAdvanced:
            return CheckSteps(AdvancedPageSteps(), values_, shown_, record_, units_);
        case SetupPage::kHardware:
        case SetupPage::kOptions:
            break;
    }
    return std::nullopt;
}

std::optional<Refusal> SetupSheet::SavePage(SetupPage page) {
    switch (page) {
        case SetupPage::kDeploy:
            return RunSteps(DeployPageSteps());
        case SetupPage::kAdvanced: {
            UserBlock& user = record_.User();
            user.SetWaveOptions(static_cast<int8_t>(user.WaveOptions() & 0x01));
            return RunSteps(AdvancedPageSteps());
        }
        case SetupPage::kHardware:
        case SetupPage::kOptions:
            break;
    }
    return std::nullopt;
}

std::optional<Refusal> SetupSheet::LeavePage(SetupPage page) {
    if (auto refusal = CheckPage(page)) {
        return refusal;
    }
    if (auto refusal = SavePage(page)) {
        return refusal;
    }
    SaveSetupIfModified();
    return std::nullopt;
}

void SetupSheet::OpenSdi12Dialog() {
    Load(LoadSdi12Dialog(record_));
}

std::optional<Refusal> SetupSheet::SaveSdi12Dialog() {
    return RunSteps(Sdi12DialogSteps());
}

std::optional<Refusal> SetupSheet::RunSteps(std::span<const SettingStep> steps) {
    for (const SettingStep& step : steps) {
        auto planned = PlanStep(step, Value(step.control), shown_[step.control], record_, units_,
                                Choices(step.control));
        if (auto* refusal = std::get_if<Refusal>(&planned)) {
            return *refusal;
        }
        const StepPlan& plan = std::get<StepPlan>(planned);
        if (!plan.write) {
            continue;
        }
        const WriteOutcome outcome = WriteSetting(plan.command);
        if (!outcome.accepted) {
            return Refusal{Refusal::Source::kInstrument, outcome.reply, step.control, false};
        }
        if (plan.store) {
            plan.store(record_);
        }
    }
    return std::nullopt;
}

SetupSheet::WriteOutcome SetupSheet::WriteSetting(const std::string& command) {
    std::vector<char> reply(kReplySize, '\0');
    const bool accepted = instrument_.ExecCommand(command, reply, true, kSettingTimeoutMs);
    if (accepted) {
        modified_ = true;
    }
    if (writeListener_) {
        writeListener_(command, accepted);
    }
    return {accepted, ReplyText(reply)};
}

void SetupSheet::SaveSetupIfModified() {
    if (modified_) {
        // Not acknowledged is no reason to keep asking: the flag is cleared all the same.
        instrument_.SendCommand("SaveSetup");
    }
    modified_ = false;
}

bool SetupSheet::ReadRecorderSpace() {
    freeBytes_ = readFreeSpace_ ? readFreeSpace_(instrument_) : std::nullopt;
    return freeBytes_.has_value();
}

std::string SetupSheet::DaysRemaining() const {
    return DaysRemainingText(freeBytes_, record_, Value(SetupControl::kAveragingInterval),
                             Value(SetupControl::kSamplingInterval));
}

}  // namespace brennix
