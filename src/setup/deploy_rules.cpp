#include "setup/deploy_rules.h"

#include <cstdio>
#include <string>

#include "platform/number_text.h"
#include "setup/page_content.h"
#include "setup/setting_steps.h"
#include "setup/value_names.h"

namespace brennix {

namespace {

constexpr int kMinAveraging = 10;
constexpr int kMaxAveraging = 3600;
constexpr double kRangeTolerance = 0.01;
constexpr float kMetresPerFoot = 0.3048f;
constexpr float kFeetPerMetre = 3.28084f;

// The cell limits of one frequency, in metres, and the least cell end − cell begin.
struct CellLimits {
    float beginMin, beginMax;
    float endMin, endMax;
    float minimumSpan;
    double minimumSpanFeet;  // the English message's own figure
};
constexpr CellLimits k1500kHzCells = {0.5f, 19.5f, 1.0f, 20.0f, 0.5f, 1.6404199600219727};
constexpr CellLimits k3MHzCells = {0.2f, 5.8f, 0.4f, 6.0f, 0.2f, 0.6561679840087891};

Refusal PageRule(std::string message, SetupControl control, bool selectText) {
    return {Refusal::Source::kPageRule, std::move(message), control, selectText};
}

bool NeedsAveragingCheck(const ConfBlock& conf) {
    return conf.ExternalPressureSensorInstalled() != 0 ||
           (conf.SystemType() == system_types::kJq && conf.VerticalBeamPresent() != 0);
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

// A cell as the page reads it: single precision, converted to metres in English units.
float CellMetres(const std::string& text, UnitSystem units) {
    auto value = static_cast<float>(ParseDecimal(text).value_or(0.0));
    if (units == UnitSystem::kEnglish) {
        value *= kMetresPerFoot;
    }
    return value;
}

std::optional<Refusal> CheckCells(const ControlValues& current, const ConfBlock& conf,
                                  UnitSystem units) {
    const CellLimits& limits =
        conf.FrequencyCode() == kFrequency1500kHz ? k1500kHzCells : k3MHzCells;
    const float begin = CellMetres(ValueOf(current, SetupControl::kCellBegin), units);
    const float end = CellMetres(ValueOf(current, SetupControl::kCellEnd), units);
    if (auto refusal = CheckRange(begin, limits.beginMin, limits.beginMax, "Cell Begin",
                                  SetupControl::kCellBegin, units)) {
        return refusal;
    }
    if (auto refusal = CheckRange(end, limits.endMin, limits.endMax, "Cell End",
                                  SetupControl::kCellEnd, units)) {
        return refusal;
    }
    if (end - begin < limits.minimumSpan) {
        const bool english = units == UnitSystem::kEnglish;
        return PageRule(
            FormatText("Cell End must be %5.2f %s more than Cell Begin.",
                       english ? limits.minimumSpanFeet : static_cast<double>(limits.minimumSpan),
                       english ? "ft" : "m"),
            SetupControl::kCellEnd, true);
    }
    return std::nullopt;
}

// An interval of no time, or less, cannot be kept: the instrument would be told it, and the
// days of operation could not be worked out from it.
std::optional<Refusal> CheckIntervals(const ControlValues& current) {
    for (const auto& [control, message] :
         {std::pair{SetupControl::kSamplingInterval,
                    "The sampling interval must be at least 1 second."},
          std::pair{SetupControl::kAveragingInterval,
                    "The averaging interval must be at least 1 second."}}) {
        if (ParseInteger(ValueOf(current, control)).value_or(0) < 1) {
            return PageRule(message, control, true);
        }
    }
    return std::nullopt;
}

// The moment "yyyy/MM/dd" "HH:mm:ss" names in local time; none for one no calendar has. mktime
// moves a day that does not exist (the 0th of month 0) onto one that does, and may move the hour
// in the gap of a clock change, so the day is compared and the time checked on its own.
std::optional<std::time_t> LocalMoment(const std::string& date, const std::string& time) {
    std::tm given{};
    char trailing = 0;
    if (std::sscanf(date.c_str(), "%d/%d/%d%c", &given.tm_year, &given.tm_mon, &given.tm_mday,
                    &trailing) != 3 ||
        std::sscanf(time.c_str(), "%d:%d:%d%c", &given.tm_hour, &given.tm_min, &given.tm_sec,
                    &trailing) != 3 ||
        given.tm_year < 1 || given.tm_hour < 0 || given.tm_hour > 23 || given.tm_min < 0 ||
        given.tm_min > 59 || given.tm_sec < 0 || given.tm_sec > 59) {
        return std::nullopt;
    }
    std::tm local = given;
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    local.tm_isdst = -1;
    const std::time_t at = std::mktime(&local);
    if (at == static_cast<std::time_t>(-1) || local.tm_year + 1900 != given.tm_year ||
        local.tm_mon + 1 != given.tm_mon || local.tm_mday != given.tm_mday) {
        return std::nullopt;
    }
    return at;
}

}  // namespace

std::optional<Refusal> CheckRange(double value, double min, double max, std::string_view name,
                                  SetupControl edit, UnitSystem units) {
    if (value >= min - kRangeTolerance && value <= max + kRangeTolerance) {
        return std::nullopt;
    }
    const bool english = units == UnitSystem::kEnglish;
    if (english) {
        min = static_cast<double>(static_cast<float>(min) * kFeetPerMetre);
        max = static_cast<double>(static_cast<float>(max) * kFeetPerMetre);
    }
    return PageRule(FormatText("%s must be between %5.2f to %5.2f %s.", std::string(name).c_str(),
                               min, max, english ? "ft" : "m"),
                    edit, true);
}

std::optional<Refusal> ValidateDeployPage(const ControlValues& current, const ControlValues& shown,
                                          const SetupRecord& record, UnitSystem units) {
    if (auto refusal = CheckSteps(ControlHome::kDeployPage, current, shown, record, units)) {
        return refusal;
    }
    if (auto refusal = CheckIntervals(current)) {
        return refusal;
    }
    const ConfBlock& conf = record.Conf();
    if (NeedsAveragingCheck(conf)) {
        const int32_t averaging =
            ParseInteger(ValueOf(current, SetupControl::kAveragingInterval)).value_or(0);
        if (averaging < kMinAveraging || averaging > kMaxAveraging) {
            return PageRule("The averaging interval should be between 10 and 3600 seconds",
                            SetupControl::kAveragingInterval, true);
        }
    }
    if (IsBlank(ValueOf(current, SetupControl::kFileName))) {
        return PageRule("The file name must not be left blank.", SetupControl::kFileName, false);
    }
    if (CellsEditable(record)) {
        return CheckCells(current, conf, units);
    }
    return std::nullopt;
}

std::optional<Refusal> CheckStart(const std::string& date, const std::string& time,
                                  std::time_t now) {
    const std::optional<std::time_t> at = LocalMoment(date, time);
    if (!at) {
        return PageRule("The start date is not set: the instrument holds " +
                            StartOnText(date, time) +
                            ".\nChoose when the deployment starts before deploying.",
                        SetupControl::kStartDate, false);
    }
    if (*at >= now) {
        return std::nullopt;
    }
    return PageRule("The start date and time must not be in the past.", SetupControl::kStartDate,
                    false);
}

}  // namespace brennix
