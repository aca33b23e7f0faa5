#include "setup/setting_steps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "platform/number_text.h"
#include "setup/control_table.h"
#include "setup/page_content.h"

namespace brennix {

namespace {

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;

Refusal Refuse(const ControlSpec& spec, const std::string& message) {
    return {Refusal::Source::kPageRule, message, spec.control, true};
}

Refusal RefuseAs(const ControlSpec& spec, const char* rule) {
    return Refuse(spec, std::string(spec.step.subject) + rule);
}

std::string Command(const ControlSpec& spec, const std::string& value) {
    return std::string(spec.step.word) + " " + value;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The caller has checked the month; at() keeps a slip there from reading past the table.
int DaysInMonth(int year, int month) {
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays.at(static_cast<size_t>(month - 1));
}

// Three whole numbers joined by separator, nothing else.
bool ParseTriple(const std::string& text, char separator, int& a, int& b, int& c) {
    const std::string format = std::string("%d") + separator + "%d" + separator + "%d%c";
    char trailing = 0;
    return std::sscanf(text.c_str(), format.c_str(), &a, &b, &c, &trailing) == 3;
}

std::variant<Refusal, StepPlan> PlanWhole(const ControlSpec& spec, const std::string& current,
                                          const SetupRecord& record) {
    const std::optional<int32_t> value = ParseInteger(current);
    if (!value && !IsWholeNumberText(current)) {
        return RefuseAs(spec, " must be a whole number.");
    }
    if (!value || *value < spec.step.field.min || *value > spec.step.field.max) {
        return Refuse(spec, std::string(spec.step.subject) + std::string(spec.step.outOfRange));
    }
    StepPlan plan{
        *value != spec.step.field.read(record), Command(spec, FormatText("%d", *value)), {}};
    if (spec.step.field.store) {
        plan.store = [store = spec.step.field.store, stored = *value](SetupRecord& r) {
            store(r, stored);
        };
    }
    return plan;
}

std::variant<Refusal, StepPlan> PlanDecimal(const ControlSpec& spec, const std::string& current,
                                            const SetupRecord& record, UnitSystem units) {
    const std::optional<double> value = ParseDecimal(current);
    if (!value) {
        return RefuseAs(spec, " must be a number.");
    }
    const double metric = ToMetric(*value, spec.step.quantity, units);
    const std::string sent = FormatText("%0.2f", metric);
    // The record keeps what the instrument was sent, not the value typed: 0.29 m goes out as
    // 0.29 and is 29 cm, where 0.29 × 100 as a double truncates to 28.
    const double hundredths = std::round(ParseDecimal(sent).value_or(0.0) * 100.0);
    const double stored = std::trunc(hundredths * spec.step.scale / 100.0);
    if (!(stored >= static_cast<double>(spec.step.field.min) &&
          stored <= static_cast<double>(spec.step.field.max))) {
        return RefuseAs(spec, " is out of range.");
    }
    const auto units64 = static_cast<int64_t>(stored);
    return StepPlan{
        units64 != spec.step.field.read(record), Command(spec, sent),
        [store = spec.step.field.store, units64](SetupRecord& r) { store(r, units64); }};
}

std::variant<Refusal, StepPlan> PlanChoice(const ControlSpec& spec, const std::string& current,
                                           const SetupRecord& record,
                                           const std::vector<std::string_view>& entries) {
    const int index = ChoiceIndex(entries, current);
    if (index < 0) {
        std::string list;
        for (const std::string_view entry : entries) {
            list += (list.empty() ? "" : ", ") + std::string(entry);
        }
        return Refuse(spec, std::string(spec.step.subject) + " must be one of: " + list + ".");
    }
    StepPlan plan{index != spec.step.field.read(record), Command(spec, current), {}};
    if (spec.step.field.store) {
        plan.store = [store = spec.step.field.store, index](SetupRecord& r) { store(r, index); };
    }
    return plan;
}

std::variant<Refusal, StepPlan> PlanDate(const ControlSpec& spec, const std::string& current,
                                         const SetupRecord& record) {
    StartDate date;
    if (!ParseTriple(current, '/', date.year, date.month, date.day) || date.year < kMinYear ||
        date.year > kMaxYear || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month)) {
        return RefuseAs(spec, " must be a date (YYYY/MM/DD).");
    }
    return StepPlan{date != record.User().GetStartDate(),
                    Command(spec, FormatText("%4d/%02d/%02d", date.year, date.month, date.day)),
                    [date](SetupRecord& r) { r.User().SetStartDate(date); }};
}

std::variant<Refusal, StepPlan> PlanTime(const ControlSpec& spec, const std::string& current,
                                         const SetupRecord& record) {
    StartTime time;
    if (!ParseTriple(current, ':', time.hour, time.minute, time.second) || time.hour < 0 ||
        time.hour > 23 || time.minute < 0 || time.minute > 59 || time.second < 0 ||
        time.second > 59) {
        return RefuseAs(spec, " must be a time of day (HH:MM:SS).");
    }
    return StepPlan{
        time != record.User().GetStartTime(),
        Command(spec, FormatText("%02d:%02d:%02d", time.hour, time.minute, time.second)),
        [time](SetupRecord& r) { r.User().SetStartTime(time); }};
}

std::variant<Refusal, StepPlan> PlanText(const ControlSpec& spec, const std::string& current,
                                         const SetupRecord& record) {
    if (const std::optional<std::string> problem = DeploymentNameProblem(current)) {
        return Refusal{Refusal::Source::kPageRule, *problem, spec.control, false};
    }
    return StepPlan{current != record.User().DeploymentName(), Command(spec, current),
                    [current](SetupRecord& r) { r.User().SetDeploymentName(current); }};
}

}  // namespace

std::optional<std::string> DeploymentNameProblem(std::string_view name) {
    if (name.size() > UserBlock::kMaxNameLength) {
        return "The file name must not be longer than 8 characters.";
    }
    // The command goes through the script engine, which would read % as a variable, ## as an
    // expression and // as a comment; a control character would end or split the line.
    const bool unsafe = std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte >= 0x7F || c == '%' || c == '#' || c == '/';
    });
    if (unsafe) {
        return "The file name must not contain %, #, / or characters other than plain letters, "
               "digits and punctuation.";
    }
    return std::nullopt;
}

std::variant<Refusal, StepPlan> PlanStep(const ControlSpec& spec, const std::string& current,
                                         const std::string& shown, const SetupRecord& record,
                                         UnitSystem units,
                                         const std::vector<std::string_view>& entries) {
    // What the page showed and the technician left alone is never written back: a value shown
    // in feet or deg F would otherwise come back converted and truncated, one unit less.
    if (current == shown) {
        return StepPlan{};
    }
    switch (spec.step.format) {
        case StepFormat::kWhole:
            return PlanWhole(spec, current, record);
        case StepFormat::kDecimal:
            return PlanDecimal(spec, current, record, units);
        case StepFormat::kChoice:
            return PlanChoice(spec, current, record, entries);
        case StepFormat::kDate:
            return PlanDate(spec, current, record);
        case StepFormat::kTime:
            return PlanTime(spec, current, record);
        case StepFormat::kText:
            return PlanText(spec, current, record);
    }
    return StepPlan{};
}

std::optional<Refusal> CheckSteps(ControlHome home, const ControlValues& current,
                                  const ControlValues& shown, const SetupRecord& record,
                                  UnitSystem units) {
    for (const ControlSpec* spec : SaveOrder(home)) {
        const auto plan =
            PlanStep(*spec, ValueOf(current, spec->control), ValueOf(shown, spec->control), record,
                     units, ControlChoices(spec->control, record));
        if (const auto* refusal = std::get_if<Refusal>(&plan)) {
            return *refusal;
        }
    }
    return std::nullopt;
}

}  // namespace brennix
