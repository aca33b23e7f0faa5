#include "setup/control_table.h"

#include <algorithm>
#include <cassert>

#include "setup/page_content.h"
#include "setup/setup_sheet.h"
#include "setup/value_names.h"

namespace brennix {

namespace {

using enum SetupControl;
constexpr int kEnglishOutputFormat = 2;
constexpr int kMetricOutputFormat = 3;
constexpr const char* kUserSettings = "User settings";
constexpr const char* kDeployment = "Deployment";
constexpr const char* kSoundSpeedSettings = "Sound Speed Settings:";
constexpr const char* kSdi12Settings = "SDI-12 Settings";

RecordField Sdi12FormatField() {
    return {[](const SetupRecord& record) -> int64_t { return record.Oper().Sdi12Format(); },
            [](SetupRecord& record, int64_t value) {
                record.Oper().SetSdi12Format(static_cast<int8_t>(value));
            },
            std::numeric_limits<int8_t>::min(), std::numeric_limits<int8_t>::max()};
}

// The address is never read from the instrument: the dialog starts at 0 and sends any other.
// An SDI-12 address is one digit.
RecordField Sdi12AddressField() {
    return {[](const SetupRecord&) -> int64_t { return 0; }, nullptr, 0, 9};
}

// The units the record gives: "Metric" (1) when the output format byte is 3. Units the
// instrument took are kept as the output format it then has, so the dialog shows them again.
RecordField Sdi12UnitsField() {
    return {[](const SetupRecord& record) -> int64_t {
                return record.User().OutputFormat() == kMetricOutputFormat ? 1 : 0;
            },
            [](SetupRecord& record, int64_t metric) {
                record.User().SetOutputFormat(
                    static_cast<int8_t>(metric != 0 ? kMetricOutputFormat : kEnglishOutputFormat));
            },
            0, 1};
}

bool CellsEnabled(const SetupSheet& sheet) {
    return CellsEditable(sheet.Record());
}

ControlSpec Interval(SetupControl control, const char* name, const char* label, const char* word,
                     const char* subject, RecordField field, int saveOrder) {
    return {.control = control,
            .home = ControlHome::kDeployPage,
            .group = kUserSettings,
            .name = name,
            .label = label,
            // The record holds 32 bits; less than a second is the deployment rules' to refuse.
            .step = {word, StepFormat::kWhole, subject, field, Quantity::kNone, 1.0,
                     " must be from 1 to 2147483647 seconds."},
            .saveOrder = saveOrder};
}

ControlSpec Cell(SetupControl control, const char* name, const char* label, const char* english,
                 const char* word, const char* subject, RecordField field, int saveOrder) {
    return {.control = control,
            .home = ControlHome::kDeployPage,
            .group = kUserSettings,
            .name = name,
            .label = label,
            .englishLabel = english,
            .enabled = &CellsEnabled,
            .locked = "the instrument takes no cell positions; only VW and JQ instruments do",
            .step = {word, StepFormat::kDecimal, subject, field, Quantity::kLength, 100.0},
            .saveOrder = saveOrder};
}

ControlSpec AdvancedList(SetupControl control, const char* group, const char* name,
                         const char* label, std::span<const std::string_view> entries,
                         const char* word, const char* subject, RecordField field, int saveOrder) {
    return {.control = control,
            .home = ControlHome::kAdvancedPage,
            .group = group,
            .name = name,
            .label = label,
            .entries = entries,
            .step = {word, StepFormat::kChoice, subject, field},
            .saveOrder = saveOrder};
}

std::vector<ControlSpec> DeployRows() {
    return {
        Interval(kAveragingInterval, "averagingInterval", "Averaging interval (s)", "AI",
                 "The averaging interval",
                 UserField<&UserBlock::AveragingInterval, &UserBlock::SetAveragingInterval>(), 2),
        Interval(kSamplingInterval, "samplingInterval", "Sampling interval (s)", "SI",
                 "The sampling interval",
                 UserField<&UserBlock::SamplingInterval, &UserBlock::SetSamplingInterval>(), 1),
        Cell(kCellBegin, "cellBegin", "Cell begin (m):", "Cell begin (ft):", "CB", "Cell Begin",
             UserField<&UserBlock::CellBegin, &UserBlock::SetCellBegin>(), 3),
        Cell(kCellEnd, "cellEnd", "Cell end (m):", "Cell end (ft):", "CE", "Cell End",
             UserField<&UserBlock::CellEnd, &UserBlock::SetCellEnd>(), 4),
        {.control = kFileName,
         .home = ControlHome::kDeployPage,
         .group = kDeployment,
         .name = "fileName",
         .label = "File name:",
         .step = {"Deployment", StepFormat::kText, "The file name"},
         .saveOrder = 7},
        {.control = kStartDate,
         .home = ControlHome::kDeployPage,
         .group = kDeployment,
         .name = "startOn",
         .label = "Start on:",
         .step = {"SD", StepFormat::kDate, "The start date"},
         .saveOrder = 5},
        {.control = kStartTime,
         .home = ControlHome::kDeployPage,
         .group = kDeployment,
         .name = "startOn",
         .label = "Start on:",
         .step = {"ST", StepFormat::kTime, "The start time"},
         .saveOrder = 6},
        {.control = kMode,
         .home = ControlHome::kDeployPage,
         .group = kDeployment,
         .name = "mode",
         .label = "Mode:",
         .entries = choices::kDeploymentModes,
         .offered = [](const SetupRecord& r) -> size_t {
             return r.Conf().Sdi12Option() != 0 ? 2 : 1;
         }},
    };
}

std::vector<ControlSpec> SoundSpeedRows() {
    return {
        AdvancedList(kTempMode, kSoundSpeedSettings, "tempMode",
                     "Temperature Mode:", choices::kTempModes, "TempMode", "The temperature mode",
                     UserField<&UserBlock::TempMode, &UserBlock::SetTempMode>(), 6),
        {.control = kTemperature,
         .home = ControlHome::kAdvancedPage,
         .group = kSoundSpeedSettings,
         .name = "temperature",
         .label = "Def Water Temp (deg C):",
         .englishLabel = "Def Water Temp (deg F):",
         .readOnly = [](const SetupSheet& s) { return s.SelectedIndex(kTempMode) != 0; },
         .locked = "the default temperature takes input only with TempMode USER",
         .step = {"Temp", StepFormat::kDecimal, "Def Water Temp",
                  UserField<&UserBlock::Temperature, &UserBlock::SetTemperature>(),
                  Quantity::kTemperature, 10.0},
         .saveOrder = 7},
        {.control = kSalinity,
         .home = ControlHome::kAdvancedPage,
         .group = kSoundSpeedSettings,
         .name = "salinity",
         .label = "Def Water Salinity (ppt):",
         .step = {"Sal", StepFormat::kDecimal, "Def Water Salinity",
                  UserField<&UserBlock::Salinity, &UserBlock::SetSalinity>(), Quantity::kNone,
                  10.0},
         .saveOrder = 8},
        {.control = kSoundSpeed,
         .home = ControlHome::kAdvancedPage,
         .group = kSoundSpeedSettings,
         .name = "soundSpeed",
         .label = "Def Speed of Sound (m/s):",
         .englishLabel = "Def Speed of Sound (ft/s):",
         .readOnly = [](const SetupSheet&) { return true; },
         .locked = "the page works it out from the temperature and the salinity"},
    };
}

std::vector<ControlSpec> ProcessingRows() {
    std::vector<ControlSpec> rows = {
        AdvancedList(kWaveSpectra, "", "waveSpectra", "Wave Spectra:", choices::kNoYes,
                     "WaveSpectra", "Wave spectra",
                     UserField<&UserBlock::WaveOptions, &UserBlock::SetWaveOptions>(), 4),
        {.control = kWaterDepth,
         .home = ControlHome::kAdvancedPage,
         .group = "",
         .name = "waterDepth",
         .label = "Water depth (m):",
         .englishLabel = "Water depth (ft):",
         .readOnly =
             [](const SetupSheet& s) {
                 return !s.WavesAvailable() || s.SelectedIndex(kWaveSpectra) == 0;
             },
         .locked = "the water depth takes input only with wave spectra available and set to YES",
         .step = {"WD", StepFormat::kDecimal, "Water depth",
                  UserField<&UserBlock::WaterDepth, &UserBlock::SetWaterDepth>(), Quantity::kLength,
                  100.0},
         .saveOrder = 5},
        AdvancedList(kDataFormat, "", "dataFormat", "Data Format:", choices::kDataFormats,
                     "DataFormat", "The data format",
                     UserField<&UserBlock::DataFormat, &UserBlock::SetDataFormat>(), 2),
        AdvancedList(kDynBoundAdj, "", "dynBoundAdj", "Dynamic Boundary Adj.:", choices::kNoYes,
                     "DynBoundAdj", "Dynamic boundary adjustment",
                     UserField<&UserBlock::DynBoundAdj, &UserBlock::SetDynBoundAdj>(), 3),
        AdvancedList(kCoordSystem, "", "coordSystem", "Coordinate System:", choices::kCoordSystems,
                     "CoordSystem", "The coordinate system",
                     UserField<&UserBlock::CoordSystem, &UserBlock::SetCoordSystem>(), 1),
    };
    rows[0].enabled = [](const SetupSheet& s) { return s.WavesAvailable(); };
    rows[0].locked = "the instrument does not answer YES to enablewaves";
    rows[3].enabled = [](const SetupSheet& s) {
        return s.Record().Conf().SystemType() == system_types::kVw;
    };
    rows[3].locked = "the page offers dynamic boundary adjustment only on VW instruments";
    rows[4].offered = [](const SetupRecord& r) -> size_t {
        return r.Conf().CompassInstalled() != 0 ? 3 : 2;
    };
    return rows;
}

std::vector<ControlSpec> Sdi12Rows() {
    const auto row = [](SetupControl control, const char* name, const char* label,
                        std::span<const std::string_view> entries, SettingStep step, int order) {
        return ControlSpec{.control = control,
                           .home = ControlHome::kSdi12Dialog,
                           .group = kSdi12Settings,
                           .name = name,
                           .label = label,
                           .entries = entries,
                           .step = step,
                           .saveOrder = order};
    };
    return {
        row(kSdi12Address, "sdi12Address", "SDI-12 Address", {},
            {"Sdi12Address", StepFormat::kWhole, "The SDI-12 address", Sdi12AddressField(),
             Quantity::kNone, 1.0, " must be one digit, 0 to 9."},
            1),
        row(kSdi12Format, "sdi12Format", "Output format", choices::kSdi12Formats,
            {"sdi12format", StepFormat::kChoice, "The SDI-12 output format", Sdi12FormatField()},
            2),
        row(kSdi12Units, "sdi12Units", "Unit system", choices::kSdi12Units,
            {"of", StepFormat::kChoice, "The SDI-12 unit system", Sdi12UnitsField()}, 3),
    };
}

const std::vector<ControlSpec>& Table() {
    static const std::vector<ControlSpec> table = [] {
        std::vector<ControlSpec> rows;
        for (auto part : {DeployRows(), SoundSpeedRows(), ProcessingRows(), Sdi12Rows()}) {
            rows.insert(rows.end(), part.begin(), part.end());
        }
        return rows;
    }();
    return table;
}

}  // namespace

std::span<const ControlSpec> ControlSpecs() {
    return Table();
}

const ControlSpec& SpecOf(SetupControl control) {
    for (const ControlSpec& spec : Table()) {
        if (spec.control == control) {
            return spec;
        }
    }
    assert(!"every setup control has a row");
    return Table().front();
}

std::vector<const ControlSpec*> ShownOrder(ControlHome home) {
    std::vector<const ControlSpec*> specs;
    for (const ControlSpec& spec : Table()) {
        if (spec.home == home) {
            specs.push_back(&spec);
        }
    }
    return specs;
}

std::vector<const ControlSpec*> SaveOrder(ControlHome home) {
    std::vector<const ControlSpec*> specs = ShownOrder(home);
    std::erase_if(specs, [](const ControlSpec* spec) { return spec->saveOrder == 0; });
    std::sort(specs.begin(), specs.end(), [](const ControlSpec* a, const ControlSpec* b) {
        return a->saveOrder < b->saveOrder;
    });
    return specs;
}

}  // namespace brennix
