#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "instrument/setup_record.h"
#include "instrument/unit_system.h"
#include "setup/setup_controls.h"
#include "setup/unit_conversion.h"

namespace brennix {

struct ControlSpec;

// How a setting's value is typed, sent and stored:
//   kWhole    "%s %d", stored as the number
//   kDecimal  "%s %0.2f" with the metric value, stored as the value sent × scale truncated
//             toward zero (a cell of 0.29 m is sent as 0.29 and kept as 29 cm)
//   kChoice   "%s %s" with the list entry, stored as the entry's index
//   kDate     "%s %s" with "%4d/%02d/%02d", stored in the start date bytes
//   kTime     "%s %s" with "%02d:%02d:%02d", stored in the start time bytes
//   kText     "%s %s" with the 8-bit text, stored in the deployment name field
enum class StepFormat { kWhole, kDecimal, kChoice, kDate, kTime, kText };

// Where the record keeps a numeric setting, and the range its field can hold. A field without a
// store is one the instrument keeps but the record does not (the SDI-12 address and units).
struct RecordField {
    int64_t (*read)(const SetupRecord&) = nullptr;
    void (*store)(SetupRecord&, int64_t) = nullptr;
    int64_t min = 0;
    int64_t max = 0;
};

// A User block field through its named accessors.
template <auto Read, auto Store>
constexpr RecordField UserField() {
    using Value = decltype((std::declval<const UserBlock&>().*Read)());
    return {[](const SetupRecord& record) -> int64_t { return (record.User().*Read)(); },
            [](SetupRecord& record, int64_t value) {
                (record.User().*Store)(static_cast<Value>(value));
            },
            std::numeric_limits<Value>::min(), std::numeric_limits<Value>::max()};
}

// How a control's setting is written: the command word (none for a control that writes
// nothing), how its value is sent, the record field it is compared with and stored in, and how
// messages name it.
struct SettingStep {
    std::string_view word;
    StepFormat format = StepFormat::kWhole;
    std::string_view subject;
    RecordField field = {};
    Quantity quantity = Quantity::kNone;
    double scale = 1.0;  // stored units per metric unit, 1, 10 or 100
    // What a message says of a value beyond the field's range.
    std::string_view outOfRange = " is out of range.";
};

// What a step does with the control's value: nothing, when the technician left it as the page
// showed it or it equals the record; otherwise the command and how the record takes it once the
// instrument accepts.
struct StepPlan {
    bool write = false;
    std::string command;
    std::function<void(SetupRecord&)> store;
};

// Plans the control's step for the value it holds now and the value the page showed; a value
// that is not a number, a date, a time, a list entry or a name the field can hold is refused
// here, before anything is sent. entries are the control's list entries for a choice.
std::variant<Refusal, StepPlan> PlanStep(const ControlSpec& spec, const std::string& current,
                                         const std::string& shown, const SetupRecord& record,
                                         UnitSystem units,
                                         const std::vector<std::string_view>& entries);

// The first refusal among the home's controls that changed, in its save order, before anything
// is sent.
std::optional<Refusal> CheckSteps(ControlHome home, const ControlValues& current,
                                  const ControlValues& shown, const SetupRecord& record,
                                  UnitSystem units);

// The name the deployment would get is one the record and the command line can carry.
std::optional<std::string> DeploymentNameProblem(std::string_view name);

}  // namespace brennix
