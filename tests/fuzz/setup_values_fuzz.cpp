// Feeds arbitrary bytes to the setup pages: the first 418 as the instrument's record, the next
// picks the units (its low bit), the rest, line by line, as what a technician types: each line's
// first byte picks the control, the others are typed into it; the deploy page is then checked as
// a whole. Typing every line into every control in both units and checking the whole page after
// each line made a run three times dearer, and reached nothing this does not. Nothing may crash or
// overrun, and no command may come out that the script engine or the instrument would read as
// anything but one setting: no line ends, control characters, variables, expressions or comments.
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

void TypeInto(const ControlSpec& spec, SetupRecord& record, const std::string& typed,
              UnitSystem units) {
    const auto planned =
        PlanStep(spec, typed, "", record, units, ControlChoices(spec.control, record));
    if (const auto* plan = std::get_if<StepPlan>(&planned); plan && plan->write) {
        Require(plan->command.starts_with(std::string(spec.step.word) + " "));
        Require(SafeCommand(plan->command));
        if (plan->store) {
            plan->store(record);
        }
        Require(spec.step.format != StepFormat::kText || record.User().DeploymentName() == typed);
    }
}

// The controls a technician can type a setting into.
const std::vector<const ControlSpec*>& Typeable() {
    static const std::vector<const ControlSpec*> specs = [] {
        std::vector<const ControlSpec*> found;
        for (const ControlSpec& spec : ControlSpecs()) {
            if (!spec.step.word.empty()) {
                found.push_back(&spec);
            }
        }
        return found;
    }();
    return specs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + std::min(size, SetupRecord::kSize));
    bytes.resize(SetupRecord::kSize, 0);
    SetupRecord record = *SetupRecord::FromBytes(bytes);
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t unitsAt = SetupRecord::kSize;
    const UnitSystem units =
        size > unitsAt && (data[unitsAt] & 1) ? UnitSystem::kEnglish : UnitSystem::kMetric;

    const ControlValues shown = LoadDeployPage(record, units);
    LoadAdvancedPage(record, units);
    HardwareRows(record);
    LoadOptionsPage(record);
    LoadSdi12Dialog(record);
    Require(!DaysRemainingText(size * 977u, record, shown.at(SetupControl::kAveragingInterval),
                               shown.at(SetupControl::kSamplingInterval))
                 .empty());

    // At most kLines lines: more of them only repeat what a shorter input reaches, at the cost
    // of every run.
    constexpr size_t kLines = 8;
    const std::string_view rest = size > unitsAt + 1 ? input.substr(unitsAt + 1) : "";
    std::vector<std::string> typed;
    for (size_t start = 0; start < rest.size() && typed.size() < kLines;) {
        const size_t end = std::min(rest.find('\n', start), rest.size());
        const std::string_view line = rest.substr(start, end - start);
        start = end + 1;
        if (!line.empty()) {
            typed.emplace_back(line.substr(1));
            const auto pick = static_cast<unsigned char>(line.front());
            TypeInto(*Typeable()[pick % Typeable().size()], record, typed.back(), units);
            SoundSpeedText(typed.back(), typed.back(), units);
            DaysRemainingText(1u << 20, record, typed.back(), typed.back());
        }
    }
    // The page checked as a whole once, with what the first and the last line typed.
    ControlValues values = shown;
    values[SetupControl::kCellBegin] = typed.empty() ? "" : typed.front();
    values[SetupControl::kFileName] = typed.empty() ? "" : typed.back();
    ValidateDeployPage(values, shown, record, units);
    return 0;
}
