#include "sim/setting_store.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sim/text_case.h"

namespace brennix::sim {

namespace {

constexpr size_t kMaxKeptTextLength = 80;
const std::vector<std::string_view> kNoYes = {"NO", "YES"};
const std::vector<std::string_view> kOffOn = {"OFF", "ON"};

const std::vector<SettingSpec>& Table() {
    static const std::vector<SettingSpec> table = {
        {{"Temp"}, SettingKind::kNumber, fields::kTemperature, 10.0},
        {{"Sal"}, SettingKind::kNumber, fields::kSalinity, 10.0},
        {{"TempMode", "tm"}, SettingKind::kChoice, fields::kTempMode, 1.0, {"USER", "MEASURED"}},
        {{"AI", "AvgInterval"}, SettingKind::kNumber, fields::kAveragingInterval},
        {{"SI", "SampleInterval"}, SettingKind::kNumber, fields::kSamplingInterval},
        {{"BurstMode"}, SettingKind::kChoice, fields::kBurstMode, 1.0, kOffOn},
        {{"BurstInterval"}, SettingKind::kNumber, fields::kBurstInterval},
        {{"SamplesPerBurst"}, SettingKind::kNumber, fields::kSamplesPerBurst},
        {{"CoordSystem", "cy"},
         SettingKind::kChoice,
         fields::kCoordSystem,
         1.0,
         {"BEAM", "XYZ", "ENU"}},
        {{"of"},
         SettingKind::kChoice,
         fields::kOutputFormat,
         1.0,
         {"BINARY", "ASCII", "ENGLISH", "METRIC"}},
        {{"Deployment"}, SettingKind::kText, fields::kDeploymentName},
        {{"SD", "StartDate"}, SettingKind::kDate, std::nullopt},
        {{"ST", "StartTime"}, SettingKind::kTime, std::nullopt},
        {{"DynBoundAdj", "dba", "DynBoundaryAdj"},
         SettingKind::kChoice,
         fields::kDynBoundAdj,
         1.0,
         kNoYes},
        {{"CB", "CellBegin"}, SettingKind::kNumber, fields::kCellBegin, 100.0},
        {{"CE", "CellEnd"}, SettingKind::kNumber, fields::kCellEnd, 100.0},
        {{"DataFormat", "df"}, SettingKind::kChoice, fields::kDataFormat, 1.0, {"LONG", "SHORT"}},
        {{"WaveSpectra"}, SettingKind::kChoice, fields::kWaveOptions, 1.0, kNoYes},
        {{"WD", "WaterDepth"}, SettingKind::kNumber, fields::kWaterDepth, 100.0},
        {{"cs", "CellSize"}, SettingKind::kNumber, fields::kCellSize, 100.0},
        {{"bd", "BlankDistance"}, SettingKind::kNumber, fields::kBlankDistance, 100.0},
        {{"pm", "ProfilingMode"}, SettingKind::kChoice, fields::kProfilingMode, 1.0, kNoYes},
        {{"nc", "Ncells"}, SettingKind::kNumber, fields::kProfileCells},
        {{"sdi12format"}, SettingKind::kChoice, fields::kSdi12Format, 1.0, {"Ostrel", "Tandrel"}},
        {{"Sdi12Address"}, SettingKind::kNumber, std::nullopt, 1.0, {}, "0"},
        {{"AutoSleep"}, SettingKind::kChoice, std::nullopt, 1.0, kOffOn, "ON"},
        {{"Recorder"}, SettingKind::kChoice, std::nullopt, 1.0, kOffOn, "ON"},
        {{"OutMode"}, SettingKind::kChoice, std::nullopt, 1.0, {"AUTO", "POLLED"}, "AUTO"},
        {{"OutFormat"},
         SettingKind::kChoice,
         std::nullopt,
         1.0,
         {"BINARY", "ASCII", "SEABIRD"},
         "BINARY"},
        {{"Comments"}, SettingKind::kText, std::nullopt, 1.0, {}, ""},
        {{"PressOffset"}, SettingKind::kNumber, std::nullopt, 1.0, {}, "0.00"},
        {{"PressScale"}, SettingKind::kNumber, std::nullopt, 1.0, {}, "1.00"},
        {{"PressScale_2"}, SettingKind::kNumber, std::nullopt, 1.0, {}, "0.00"},
    };
    return table;
}

// The numbers an instrument takes only within limits (in the value's own units): an interval
// of no time, an SDI-12 address of more than one digit, water no sea holds. Out of range is an
// error, as any other value it cannot use.
struct NumberRange {
    std::string_view name;
    double min;
    double max;
};
constexpr std::array kNumberRanges = {
    NumberRange{"AI", 1, 86400}, NumberRange{"SI", 1, 86400}, NumberRange{"Sdi12Address", 0, 9},
    NumberRange{"Temp", -5, 50}, NumberRange{"Sal", 0, 50},
};

bool WithinRange(const SettingSpec& spec, double value) {
    for (const NumberRange& range : kNumberRanges) {
        if (range.name == spec.names.front()) {
            return value >= range.min && value <= range.max;
        }
    }
    return true;
}

// The instrument reads numbers with a point, whatever locale a program that embeds the
// simulator runs in.
std::optional<double> ParseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || status != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool FitsField(int64_t value, const Field& field) {
    const int bits = static_cast<int>(8 * field.width);
    const int64_t low = field.isSigned ? -(int64_t{1} << (bits - 1)) : 0;
    const int64_t high = field.isSigned ? (int64_t{1} << (bits - 1)) - 1 : (int64_t{1} << bits) - 1;
    return value >= low && value <= high;
}

bool IsPrintable(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F; });
}

// Three numbers joined by one separator, e.g. "2026/05/17" or "12:30:00", nothing after them.
bool ParseTriple(std::string_view text, char separator, int& a, int& b, int& c) {
    const std::string copy(text);
    const std::string format = std::string("%d") + separator + "%d" + separator + "%d%c";
    char trailing = 0;
    return std::sscanf(copy.c_str(), format.c_str(), &a, &b, &c, &trailing) == 3;
}

std::string FormatTriple(const char* format, int64_t a, int64_t b, int64_t c) {
    char text[32];
    std::snprintf(text, sizeof text, format, static_cast<int>(a), static_cast<int>(b),
                  static_cast<int>(c));
    return text;
}

}  // namespace

SettingStore::SettingStore(ConfigBlocks& blocks) : blocks_(blocks) {
    RestoreDefaults();
}

const SettingSpec* SettingStore::Find(std::string_view word) {
    for (const SettingSpec& spec : Table()) {
        for (std::string_view name : spec.names) {
            if (EqualsIgnoringCase(name, word)) {
                return &spec;
            }
        }
    }
    return nullptr;
}

void SettingStore::RestoreDefaults() {
    blocks_.RestoreDefaults();
    keptAside_.clear();
    for (const SettingSpec& spec : Table()) {
        if (!spec.field && spec.kind != SettingKind::kDate && spec.kind != SettingKind::kTime) {
            keptAside_[spec.names.front()] = std::string(spec.initial);
        }
    }
}

bool SettingStore::Apply(const SettingSpec& spec, std::string_view value) {
    switch (spec.kind) {
        case SettingKind::kNumber:
            return ApplyNumber(spec, value);
        case SettingKind::kChoice:
            return ApplyChoice(spec, value);
        case SettingKind::kText:
            return ApplyText(spec, value);
        case SettingKind::kDate:
            return ApplyDate(value);
        case SettingKind::kTime:
            return ApplyTime(value);
    }
    return false;
}

bool SettingStore::ApplyNumber(const SettingSpec& spec, std::string_view value) {
    const std::optional<double> number = ParseNumber(value);
    if (!number || !WithinRange(spec, *number)) {
        return false;
    }
    if (!spec.field) {
        keptAside_[spec.names.front()] = std::string(value);
        return true;
    }
    // The instrument truncates to its stored units, as its firmware does with centimetres.
    const double scaled = std::trunc(*number * spec.scale + (*number >= 0 ? 1e-9 : -1e-9));
    if (std::fabs(scaled) > 9e15 || !FitsField(static_cast<int64_t>(scaled), *spec.field)) {
        return false;
    }
    blocks_.WriteInt(*spec.field, static_cast<int64_t>(scaled));
    return true;
}

bool SettingStore::ApplyChoice(const SettingSpec& spec, std::string_view value) {
    std::optional<size_t> index;
    for (size_t i = 0; i < spec.choices.size(); ++i) {
        if (EqualsIgnoringCase(spec.choices[i], value) || value == std::to_string(i)) {
            index = i;
        }
    }
    if (!index) {
        return false;
    }
    if (spec.field) {
        blocks_.WriteInt(*spec.field, static_cast<int64_t>(*index));
    } else {
        keptAside_[spec.names.front()] = std::string(spec.choices[*index]);
    }
    return true;
}

bool SettingStore::ApplyText(const SettingSpec& spec, std::string_view value) {
    const size_t capacity = spec.field ? spec.field->width - 1 : kMaxKeptTextLength;
    if (value.size() > capacity || !IsPrintable(value)) {
        return false;
    }
    if (spec.field) {
        if (value.empty()) {
            return false;
        }
        blocks_.WriteText(*spec.field, value);
    } else {
        keptAside_[spec.names.front()] = std::string(value);
    }
    return true;
}

bool SettingStore::ApplyDate(std::string_view value) {
    int year = 0, month = 0, day = 0;
    if (!ParseTriple(value, '/', year, month, day) || year < 1980 || year > 2100 || month < 1 ||
        month > 12 || day < 1 || day > 31) {
        return false;
    }
    blocks_.WriteInt(fields::kStartYear, year);
    blocks_.WriteInt(fields::kStartMonth, month);
    blocks_.WriteInt(fields::kStartDay, day);
    return true;
}

bool SettingStore::ApplyTime(std::string_view value) {
    int hour = 0, minute = 0, second = 0;
    if (!ParseTriple(value, ':', hour, minute, second) || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59) {
        return false;
    }
    blocks_.WriteInt(fields::kStartHour, hour);
    blocks_.WriteInt(fields::kStartMinute, minute);
    blocks_.WriteInt(fields::kStartSecond, second);
    return true;
}

std::string SettingStore::Current(const SettingSpec& spec) const {
    if (spec.kind == SettingKind::kDate) {
        return FormatTriple("%04d/%02d/%02d", blocks_.ReadInt(fields::kStartYear),
                            blocks_.ReadInt(fields::kStartMonth),
                            blocks_.ReadInt(fields::kStartDay));
    }
    if (spec.kind == SettingKind::kTime) {
        return FormatTriple("%02d:%02d:%02d", blocks_.ReadInt(fields::kStartHour),
                            blocks_.ReadInt(fields::kStartMinute),
                            blocks_.ReadInt(fields::kStartSecond));
    }
    if (!spec.field) {
        return keptAside_.at(spec.names.front());
    }
    if (spec.kind == SettingKind::kText) {
        return blocks_.ReadText(*spec.field);
    }
    if (spec.kind == SettingKind::kChoice) {
        const int64_t index = blocks_.ReadInt(*spec.field);
        const bool named = index >= 0 && static_cast<size_t>(index) < spec.choices.size();
        return named ? std::string(spec.choices[static_cast<size_t>(index)])
                     : std::to_string(index);
    }
    return CurrentNumber(spec);
}

std::string SettingStore::CurrentNumber(const SettingSpec& spec) const {
    const int64_t stored = blocks_.ReadInt(*spec.field);
    if (spec.scale == 1.0) {
        return std::to_string(stored);
    }
    const int decimals = spec.scale >= 100.0 ? 2 : 1;
    std::array<char, 64> text{};
    const auto [end, status] =
        std::to_chars(text.data(), text.data() + text.size(),
                      static_cast<double>(stored) / spec.scale, std::chars_format::fixed, decimals);
    return status == std::errc() ? std::string(text.data(), end) : std::string();
}

}  // namespace brennix::sim
