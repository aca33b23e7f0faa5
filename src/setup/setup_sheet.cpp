#include "setup/setup_sheet.h"

#include "setup/control_table.h"
#include "setup/days_remaining.h"
#include "setup/deploy_rules.h"
#include "setup/page_content.h"
#include "setup/setting_steps.h"
#include "setup/sound_speed.h"
#include "setup/value_names.h"

namespace brennix {

SetupSheet::SetupSheet(const SetupRecord& record, UnitSystem units)
    : record_(record), units_(units) {}

const std::string& SetupSheet::Value(SetupControl control) const {
    return ValueOf(values_, control);
}

const std::string& SetupSheet::Shown(SetupControl control) const {
    return ValueOf(shown_, control);
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
    const ControlSpec& spec = SpecOf(control);
    return spec.enabled == nullptr || spec.enabled(*this);
}

bool SetupSheet::ReadOnly(SetupControl control) const {
    const ControlSpec& spec = SpecOf(control);
    return spec.readOnly != nullptr && spec.readOnly(*this);
}

void SetupSheet::LoadPage(SetupPage page) {
    active_ = page;
    switch (page) {
        case SetupPage::kDeploy:
            Load(LoadDeployPage(record_, units_));
            // The mode list selects "Standard" once, when the page is made; the choice holds for
            // the sheet's life, however often the page is shown again.
            if (!values_.contains(SetupControl::kMode)) {
                Load({{SetupControl::kMode, std::string(choices::kDeploymentModes[0])}});
            }
            break;
        case SetupPage::kAdvanced:
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

void SetupSheet::ClearWaveExtras() {
    UserBlock& user = record_.User();
    user.SetWaveOptions(static_cast<int8_t>(user.WaveOptions() & 0x01));
}

void SetupSheet::LoadSdi12Dialog() {
    Load(brennix::LoadSdi12Dialog(record_));
}

std::optional<Refusal> SetupSheet::CheckPage(SetupPage page) const {
    switch (page) {
        case SetupPage::kDeploy:
            return ValidateDeployPage(values_, shown_, record_, units_);
        case SetupPage::kAdvanced:
            return CheckSteps(ControlHome::kAdvancedPage, values_, shown_, record_, units_);
        case SetupPage::kHardware:
        case SetupPage::kOptions:
            break;
    }
    return std::nullopt;
}

std::optional<uint64_t> SetupSheet::FreeRecorderBytes() const {
    return recorder_ ? std::optional(recorder_->FreeBytes()) : std::nullopt;
}

std::string SetupSheet::DaysRemaining() const {
    return DaysRemainingText(FreeRecorderBytes(), record_, Value(SetupControl::kAveragingInterval),
                             Value(SetupControl::kSamplingInterval));
}

std::optional<ControlHome> HomeOf(SetupPage page) {
    switch (page) {
        case SetupPage::kDeploy:
            return ControlHome::kDeployPage;
        case SetupPage::kAdvanced:
            return ControlHome::kAdvancedPage;
        case SetupPage::kHardware:
        case SetupPage::kOptions:
            break;
    }
    return std::nullopt;
}

}  // namespace brennix
