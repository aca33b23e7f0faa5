// Feeds arbitrary bytes to the setup pages: the first 418 as the instrument's record, the rest,
// line by line, as what a technician types into every control. Nothing may crash or overrun, and
// no command may come out that the script engine or the instrument would read as anything but
// one setting: no line ends, control characters, variables, expressions or comments.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "setup/control_table.h"
#include "setup/days_remaining.h"
#include "setup/deploy_rules.h"
#include "setup/page_content.h"
#include "setup/setting_steps.h"
#include "setup/sound_speed.h"

namespace {

using namespace brennix;

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool SafeCommand(const std::string& command) {
    const bool controls = std::any_of(command.begin(), command.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    return !controls && command.find('%') == std::string::npos &&
           command.find("##") == std::string::npos && command.find("//") == std::string::npos;
}

void TypeIntoEveryControl(SetupRecord& record, const std::string& typed, UnitSystem units) {
    for (const ControlSpec& spec : ControlSpecs()) {
        if (spec.step.word.empty()) {
            continue;
        }
        const auto planned =
            PlanStep(spec, typed, "", record, units, ControlChoices(spec.control, record));
        if (const auto* plan = std::get_if<StepPlan>(&planned); plan && plan->write) {
            Require(plan->command.starts_with(std::string(spec.step.word) + " "));
            Require(SafeCommand(plan->command));
            if (plan->store) {
                plan->store(record);
            }
            Require(spec.step.format != StepFormat::kText ||
                    record.User().DeploymentName() == typed);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + std::min(size, SetupRecord::kSize));
    bytes.resize(SetupRecord::kSize, 0);
    SetupRecord record = *SetupRecord::FromBytes(bytes);

    for (const UnitSystem units : {UnitSystem::kMetric, UnitSystem::kEnglish}) {
        const ControlValues shown = LoadDeployPage(record, units);
        LoadAdvancedPage(record, units);
        HardwareRows(record);
        LoadOptionsPage(record);
        LoadSdi12Dialog(record);
        Require(!DaysRemainingText(size * 977u, record, shown.at(SetupControl::kAveragingInterval),
                                   shown.at(SetupControl::kSamplingInterval))
                     .empty());

        const std::string_view input(reinterpret_cast<const char*>(data), size);
        const std::string_view rest =
            size > SetupRecord::kSize ? input.substr(SetupRecord::kSize) : std::string_view();
        size_t start = 0;
        while (start < rest.size()) {
            const size_t end = std::min(rest.find('\n', start), rest.size());
            const std::string typed(rest.substr(start, end - start));
            start = end + 1;
            TypeIntoEveryControl(record, typed, units);
            ControlValues values = shown;
            values[SetupControl::kCellBegin] = typed;
            values[SetupControl::kFileName] = typed;
            ValidateDeployPage(values, shown, record, units);
            SoundSpeedText(typed, typed, units);
            DaysRemainingText(1u << 20, record, typed, typed);
        }
    }
    return 0;
}
