#include "setup/setting_steps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "platform/number_text.h"
#include "setup/page_content.h"

namespace brennix {

namespace {

constexpr int kMetricOutputFormat = 3;
constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;

RecordField Sdi12FormatField() {
    return {[](const SetupRecord& record) -> int64_t { return record.Oper().Sdi12Format(); },
            [](SetupRecord& record, int64_t value) {
                record.Oper().SetSdi12Format(static_cast<int8_t>(value));
            },
            std::numeric_limits<int8_t>::min(), std::numeric_limits<int8_t>::max()};
}

// The address is never read from the instrument: the dialog starts at 0 and sends any other.
RecordField Sdi12AddressField() {
    return {[](const SetupRecord&) -> int64_t { return 0; }, nullptr,
            std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
}

// The units the record gives: "Metric" (1) when the output format byte is 3.
RecordField Sdi12UnitsField() {
    return {[](const SetupRecord& record) -> int64_t {
                return record.User().OutputFormat() == kMetricOutputFormat ? 1 : 0;
            },
            nullptr, 0, 1};
}

const std::array kDeploySteps = {
    SettingStep{SetupControl::kSamplingInterval, "SI", StepFormat::kWhole, "The sampling interval",
                UserField<&UserBlock::SamplingInterval, &UserBlock::SetSamplingInterval>()},
    SettingStep{SetupControl::kAveragingInterval, "AI", StepFormat::kWhole,
                "The averaging interval",
                UserField<&UserBlock::AveragingInterval, &UserBlock::SetAveragingInterval>()},
    SettingStep{SetupControl::kCellBegin, "CB", StepFormat::kDecimal, "Cell Begin",
                UserField<&UserBlock::CellBegin, &UserBlock::SetCellBegin>(), Quantity::kLength,
                100.0},
    SettingStep{SetupControl::kCellEnd, "CE", StepFormat::kDecimal, "Cell End",
                UserField<&UserBlock::CellEnd, &UserBlock::SetCellEnd>(), Quantity::kLength, 100.0},
    SettingStep{SetupControl::kStartDate, "SD", StepFormat::kDate, "The start date"},
    SettingStep{SetupControl::kStartTime, "ST", StepFormat::kTime, "The start time"},
    SettingStep{SetupControl::kFileName, "Deployment", StepFormat::kText, "The file name"},
};

const std::array kAdvancedSteps = {
    SettingStep{SetupControl::kCoordSystem, "CoordSystem", StepFormat::kChoice,
                "The coordinate system",
                UserField<&UserBlock::CoordSystem, &UserBlock::SetCoordSystem>()},
    SettingStep{SetupControl::kDataFormat, "DataFormat", StepFormat::kChoice, "The data format",
                UserField<&UserBlock::DataFormat, &UserBlock::SetDataFormat>()},
    SettingStep{SetupControl::kDynBoundAdj, "DynBoundAdj", StepFormat::kChoice,
                "Dynamic boundary adjustment",
                UserField<&UserBlock::DynBoundAdj, &UserBlock::SetDynBoundAdj>()},
    SettingStep{SetupControl::kWaveSpectra, "WaveSpectra", StepFormat::kChoice, "Wave spectra",
                UserField<&UserBlock::WaveOptions, &UserBlock::SetWaveOptions>()},
    SettingStep{SetupControl::kWaterDepth, "WD", StepFormat::kDecimal, "Water depth",
                UserField<&UserBlock::WaterDepth, &UserBlock::SetWaterDepth>(), Quantity::kLength,
                100.0},
    SettingStep{SetupControl::kTempMode, "TempMode", StepFormat::kChoice, "The temperature mode",
                UserField<&UserBlock::TempMode, &UserBlock::SetTempMode>()},
    SettingStep{SetupControl::kTemperature, "Temp", StepFormat::kDecimal, "Def Water Temp",
                UserField<&UserBlock::Temperature, &UserBlock::SetTemperature>(),
                Quantity::kTemperature, 10.0},
    SettingStep{SetupControl::kSalinity, "Sal", StepFormat::kDecimal, "Def Water Salinity",
                UserField<&UserBlock::Salinity, &UserBlock::SetSalinity>(), Quantity::kNone, 10.0},
};

const std::array kSdi12Steps = {
    SettingStep{SetupControl::kSdi12Address, "Sdi12Address", StepFormat::kWhole,
                "The SDI-12 address", Sdi12AddressField()},
    SettingStep{SetupControl::kSdi12Format, "sdi12format", StepFormat::kChoice,
                "The SDI-12 output format", Sdi12FormatField()},
    SettingStep{SetupControl::kSdi12Units, "of", StepFormat::kChoice, "The SDI-12 unit system",
                Sdi12UnitsField()},
};

Refusal Refuse(const SettingStep& step, const std::string& message) {
    return {Refusal::Source::kPageRule, message, step.control, true};
}

Refusal RefuseAs(const SettingStep& step, const char* rule) {
    return Refuse(step, std::string(step.subject) + rule);
}

std::string Command(const SettingStep& step, const std::string& value) {
    return std::string(step.word) + " " + value;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<size_t>(month - 1)];
}

// Three whole numbers joined by separator, nothing else.
bool ParseTriple(const std::string& text, char separator, int& a, int& b, int& c) {
    const std::string format = std::string("%d") + separator + "%d" + separator + "%d%c";
    char trailing = 0;
    return std::sscanf(text.c_str(), format.c_str(), &a, &b, &c, &trailing) == 3;
}

std::variant<Refusal, StepPlan> PlanWhole(const SettingStep& step, const std::string& current,
                                          const SetupRecord& record) {
    const std::optional<int32_t> value = ParseInteger(current);
    if (!value) {
        return RefuseAs(step, " must be a whole number.");
    }
    if (*value < step.field.min || *value > step.field.max) {
        return RefuseAs(step, " is out of range.");
    }
    StepPlan plan{*value != step.field.read(record), Command(step, FormatText("%d", *value)), {}};
    if (step.field.store) {
        plan.store = [store = step.field.store, stored = *value](SetupRecord& r) {
            store(r, stored);
        };
    }
    return plan;
}

std::variant<Refusal, StepPlan> PlanDecimal(const SettingStep& step, const std::string& current,
                                            const SetupRecord& record, UnitSystem units) {
    const std::optional<double> value = ParseDecimal(current);
    if (!value) {
        return RefuseAs(step, " must be a number.");
    }
    const double metric = ToMetric(*value, step.quantity, units);
    const double stored = std::trunc(metric * step.scale);
    if (stored < static_cast<double>(step.field.min) ||
        stored > static_cast<double>(step.field.max)) {
        return RefuseAs(step, " is out of range.");
    }
    const auto units64 = static_cast<int64_t>(stored);
    return StepPlan{units64 != step.field.read(record), Command(step, FormatText("%0.2f", metric)),
                    [store = step.field.store, units64](SetupRecord& r) { store(r, units64); }};
}

std::variant<Refusal, StepPlan> PlanChoice(const SettingStep& step, const std::string& current,
                                           const SetupRecord& record,
                                           const std::vector<std::string_view>& entries) {
    const int index = ChoiceIndex(entries, current);
    if (index < 0) {
        std::string list;
        for (const std::string_view entry : entries) {
            list += (list.empty() ? "" : ", ") + std::string(entry);
        }
        return Refuse(step, std::string(step.subject) + " must be one of: " + list + ".");
    }
    StepPlan plan{index != step.field.read(record), Command(step, current), {}};
    if (step.field.store) {
        plan.store = [store = step.field.store, index](SetupRecord& r) { store(r, index); };
    }
    return plan;
}

std::variant<Refusal, StepPlan> PlanDate(const SettingStep& step, const std::string& current,
                                         const SetupRecord& record) {
    StartDate date;
    if (!ParseTriple(current, '/', date.year, date.month, date.day) || date.year < kMinYear ||
        date.year > kMaxYear || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month)) {
        return RefuseAs(step, " must be a date (YYYY/MM/DD).");
    }
    return StepPlan{date != record.User().GetStartDate(),
                    Command(step, FormatText("%4d/%02d/%02d", date.year, date.month, date.day)),
                    [date](SetupRecord& r) { r.User().SetStartDate(date); }};
}

std::variant<Refusal, StepPlan> PlanTime(const SettingStep& step, const std::string& current,
                                         const SetupRecord& record) {
    StartTime time;
    if (!ParseTriple(current, ':', time.hour, time.minute, time.second) || time.hour < 0 ||
        time.hour > 23 || time.minute < 0 || time.minute > 59 || time.second < 0 ||
        time.second > 59) {
        return RefuseAs(step, " must be a time of day (HH:MM:SS).");
    }
    return StepPlan{
        time != record.User().GetStartTime(),
        Command(step, FormatText("%02d:%02d:%02d", time.hour, time.minute, time.second)),
        [time](SetupRecord& r) { r.User().SetStartTime(time); }};
}

std::variant<Refusal, StepPlan> PlanText(const SettingStep& step, const std::string& current,
                                         const SetupRecord& record) {
    if (const std::optional<std::string> problem = DeploymentNameProblem(current)) {
        return Refusal{Refusal::Source::kPageRule, *problem, step.control, false};
    }
    return StepPlan{current != record.User().DeploymentName(), Command(step, current),
                    [current](SetupRecord& r) { r.User().SetDeploymentName(current); }};
}

}  // namespace

std::span<const SettingStep> DeployPageSteps() {
    return kDeploySteps;
}

std::span<const SettingStep> AdvancedPageSteps() {
    return kAdvancedSteps;
}

std::span<const SettingStep> Sdi12DialogSteps() {
    return kSdi12Steps;
}

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

std::variant<Refusal, StepPlan> PlanStep(const SettingStep& step, const std::string& current,
                                         const std::string& shown, const SetupRecord& record,
                                         UnitSystem units,
                                         const std::vector<std::string_view>& entries) {
    // What the page showed and the technician left alone is never written back: a value shown
    // in feet or deg F would otherwise come back converted and truncated, one unit less.
    if (current == shown) {
        return StepPlan{};
    }
    switch (step.format) {
        case StepFormat::kWhole:
            return PlanWhole(step, current, record);
        case StepFormat::kDecimal:
            return PlanDecimal(step, current, record, units);
        case StepFormat::kChoice:
            return PlanChoice(step, current, record, entries);
        case StepFormat::kDate:
            return PlanDate(step, current, record);
        case StepFormat::kTime:
            return PlanTime(step, current, record);
        case StepFormat::kText:
            return PlanText(step, current, record);
    }
    return StepPlan{};
}

std::optional<Refusal> CheckSteps(std::span<const SettingStep> steps, const ControlValues& current,
                                  const ControlValues& shown, const SetupRecord& record,
                                  UnitSystem units) {
    for (const SettingStep& step : steps) {
        const auto plan =
            PlanStep(step, ValueOf(current, step.control), ValueOf(shown, step.control), record,
                     units, ControlChoices(step.control, record));
        if (const auto* refusal = std::get_if<Refusal>(&plan)) {
            return *refusal;
        }
    }
    return std::nullopt;
}

}  // namespace brennix
