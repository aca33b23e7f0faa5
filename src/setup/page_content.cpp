#include "setup/page_content.h"

#include <algorithm>

#include "platform/number_text.h"
#include "setup/control_table.h"
#include "setup/sound_speed.h"
#include "setup/unit_conversion.h"
#include "setup/value_names.h"

namespace brennix {

namespace {

constexpr int kMetricOutputFormat = 3;
constexpr uint8_t kLateSensorFirmware = 54;  // 5.4

std::string Choice(SetupControl control, const SetupRecord& record, int index) {
    return std::string(ChoiceAt(ControlChoices(control, record), index));
}

std::string Shown(double metric, Quantity quantity, UnitSystem units) {
    return FormatText("%0.2f", FromMetric(metric, quantity, units));
}

std::string Version(const char* prefix, uint8_t tenths) {
    return FormatText("%s %5.1f", prefix, static_cast<double>(static_cast<float>(tenths) * 0.1f));
}

}  // namespace

std::string ControlLabel(SetupControl control, UnitSystem units) {
    const ControlSpec& spec = SpecOf(control);
    const bool english = units == UnitSystem::kEnglish && !spec.englishLabel.empty();
    return std::string(english ? spec.englishLabel : spec.label);
}

std::string PlainLabel(std::string label) {
    while (!label.empty() && (label.back() == ':' || label.back() == ' ')) {
        label.pop_back();
    }
    return label;
}

std::vector<std::string_view> ControlChoices(SetupControl control, const SetupRecord& record) {
    const ControlSpec& spec = SpecOf(control);
    const size_t offered =
        spec.offered ? std::min(spec.offered(record), spec.entries.size()) : spec.entries.size();
    return {spec.entries.begin(), spec.entries.begin() + static_cast<std::ptrdiff_t>(offered)};
}

int ChoiceIndex(const std::vector<std::string_view>& entries, std::string_view text) {
    const auto it = std::find(entries.begin(), entries.end(), text);
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

bool CellsEditable(const SetupRecord& record) {
    const int type = record.Conf().SystemType();
    return type == system_types::kVw || type == system_types::kJq;
}

ControlValues LoadDeployPage(const SetupRecord& record, UnitSystem units) {
    const UserBlock& user = record.User();
    const StartDate date = user.GetStartDate();
    const StartTime time = user.GetStartTime();
    return {
        {SetupControl::kSamplingInterval, FormatText("%d", user.SamplingInterval())},
        {SetupControl::kAveragingInterval, FormatText("%d", user.AveragingInterval())},
        {SetupControl::kCellBegin, Shown(user.CellBegin() * 0.01, Quantity::kLength, units)},
        {SetupControl::kCellEnd, Shown(user.CellEnd() * 0.01, Quantity::kLength, units)},
        {SetupControl::kStartDate, FormatText("%04d/%02d/%02d", date.year, date.month, date.day)},
        {SetupControl::kStartTime,
         FormatText("%02d:%02d:%02d", time.hour, time.minute, time.second)},
        {SetupControl::kFileName, user.DeploymentName()},
    };
}

ControlValues LoadAdvancedPage(SetupRecord& record, UnitSystem units) {
    UserBlock& user = record.User();
    user.SetWaveOptions(static_cast<int8_t>(user.WaveOptions() & 0x01));
    ControlValues values = {
        {SetupControl::kCoordSystem,
         Choice(SetupControl::kCoordSystem, record, user.CoordSystem())},
        {SetupControl::kDataFormat, Choice(SetupControl::kDataFormat, record, user.DataFormat())},
        {SetupControl::kDynBoundAdj,
         Choice(SetupControl::kDynBoundAdj, record, user.DynBoundAdj())},
        {SetupControl::kWaveSpectra,
         Choice(SetupControl::kWaveSpectra, record, user.WaveOptions())},
        {SetupControl::kWaterDepth, Shown(user.WaterDepth() * 0.01, Quantity::kLength, units)},
        {SetupControl::kTempMode, Choice(SetupControl::kTempMode, record, user.TempMode())},
        {SetupControl::kTemperature,
         Shown(user.Temperature() * 0.1, Quantity::kTemperature, units)},
        {SetupControl::kSalinity, FormatText("%0.2f", user.Salinity() * 0.1)},
    };
    values[SetupControl::kSoundSpeed] =
        SoundSpeedText(values[SetupControl::kSalinity], values[SetupControl::kTemperature], units);
    return values;
}

ControlValues LoadSdi12Dialog(const SetupRecord& record) {
    const bool metric = record.User().OutputFormat() == kMetricOutputFormat;
    return {
        {SetupControl::kSdi12Address, "0"},
        {SetupControl::kSdi12Format,
         Choice(SetupControl::kSdi12Format, record, record.Oper().Sdi12Format())},
        {SetupControl::kSdi12Units, Choice(SetupControl::kSdi12Units, record, metric ? 1 : 0)},
    };
}

std::vector<InfoRow> HardwareRows(const SetupRecord& record) {
    const ConfBlock& conf = record.Conf();
    return {
        {"CPU Software Version:", Version("MRV", conf.CpuVersion())},
        {"DSP Software Version:", Version("DSP", conf.DspVersion())},
        {"System Type:", SystemTypeName(conf.SystemType())},
        {"Serial No.:", conf.SerialNumber()},
        {"System Frequency:", FrequencyName(conf.FrequencyCode())},
        {"Number of Beams:", FormatText("%d", conf.BeamCount())},
        {"Beam Geometry:", BeamGeometryName(conf.BeamGeometry())},
        {"Vertical Beam:", YesNoName(conf.VerticalBeamPresent())},
        {"Slant Angle (deg):", FormatText("%4.1f", conf.SlantAngle() * 0.1)},
        {"Sensor Orientation:", OrientationName(conf.Orientation())},
    };
}

std::vector<InfoRow> LoadOptionsPage(SetupRecord& record) {
    if (record.Conf().CpuVersion() < kLateSensorFirmware) {
        record.Conf().ClearLateSensors();
    }
    return OptionsRows(record);
}

std::vector<InfoRow> OptionsRows(const SetupRecord& record) {
    const ConfBlock& conf = record.Conf();
    return {
        {"Compass:", YesNoName(conf.CompassInstalled())},
        {"Recorder:", YesNoName(conf.RecorderInstalled())},
        {"Pressure Sensor:", YesNoName(conf.PressureSensorInstalled())},
        {"Temperature Sensor:", YesNoName(conf.TemperatureSensorInstalled())},
        {"Ext. Press. Sensor:", YesNoName(conf.ExternalPressureSensorInstalled())},
        {"YSI Sensor:", YesNoName(conf.YsiSensorInstalled())},
        {"CTD Sensor:", YesNoName(conf.CtdSensorInstalled())},
        {"Wave Option:", YesNoName(record.User().WaveOptions() & 0x01)},
        {"SDI-12:", YesNoName(conf.Sdi12Option() & 0x01)},
        {"Profiling option:", YesNoName(conf.ProfilingOption() & 0x01)},
    };
}

std::string StartOnText(std::string_view date, std::string_view time) {
    return std::string(date) + " , " + std::string(time);
}

std::string UnsetStartOnText(std::string_view date, std::string_view time) {
    return StartOnText(date, time) + " (not set)";
}

}  // namespace brennix
