#include "sim/config_blocks.h"

#include <algorithm>
#include <utility>

#include "sim/model_profile.h"

namespace brennix::sim {

namespace {

constexpr int kThreeBeams = 1;
constexpr int kOrientationUp = 1;
constexpr int kSlantAngleTenths = 250;

}  // namespace

ConfigBlocks::ConfigBlocks(const Settings& settings)
    : conf_(kConfSize), user_(kUserSize), oper_(kOperSize), startDateSet_(settings.startDateSet) {
    FillHardware(settings);
    RestoreDefaults();
}

void ConfigBlocks::FillHardware(const Settings& settings) {
    const ModelProfile& profile = ProfileOf(settings.model);
    WriteInt(fields::kCpuVersion, settings.cpuVersion.value_or(profile.cpuVersion));
    WriteInt(fields::kDspVersion, 12);
    WriteText(fields::kSerialNumber, profile.serialNumber);
    WriteInt(fields::kSystemCode,
             settings.systemType.value_or(profile.systemType) * 16 + settings.frequencyCode);
    WriteInt(fields::kBeamCount, 3);
    WriteInt(fields::kBeamGeometry, kThreeBeams);
    WriteInt(fields::kSlantAngle, kSlantAngleTenths);
    WriteInt(fields::kOrientation, kOrientationUp);
    WriteInt(fields::kCompassInstalled, settings.compassInstalled ? 1 : 0);
    WriteInt(fields::kRecorderInstalled, 1);
    WriteInt(fields::kTemperatureInstalled, 1);
    WriteInt(fields::kPressureInstalled, 1);
    WriteInt(fields::kExternalPressureInstalled, settings.externalPressureSensor ? 1 : 0);
    WriteInt(fields::kSdi12Option, settings.sdi12Option ? 1 : 0);
    WriteInt(fields::kProfilingOption, 1);
}

void ConfigBlocks::RestoreDefaults() {
    std::fill(user_.begin(), user_.end(), 0);
    std::fill(oper_.begin(), oper_.end(), 0);
    WriteInt(fields::kTemperature, 200);  // 20.0 deg C
    WriteInt(fields::kSalinity, 350);     // 35.0 ppt
    WriteInt(fields::kTempMode, 1);       // measured
    WriteInt(fields::kAveragingInterval, 300);
    WriteInt(fields::kSamplingInterval, 900);
    WriteInt(fields::kBurstInterval, 3600);
    WriteInt(fields::kSamplesPerBurst, 1024);
    WriteInt(fields::kCoordSystem, 2);  // ENU
    WriteText(fields::kDeploymentName, "DEFAULT");
    // A start far ahead, as set for a deployment to come: deploying it is never refused for a
    // start that has passed.
    if (startDateSet_) {
        WriteInt(fields::kStartYear, 2099);
        WriteInt(fields::kStartDay, 1);
        WriteInt(fields::kStartMonth, 1);
    }
    WriteInt(fields::kCellBegin, 50);      // cm
    WriteInt(fields::kCellEnd, 500);       // cm
    WriteInt(fields::kWaterDepth, 1000);   // cm
    WriteInt(fields::kCellSize, 100);      // cm
    WriteInt(fields::kBlankDistance, 20);  // cm
    WriteInt(fields::kProfileCells, 10);
}

std::span<const uint8_t> ConfigBlocks::Block(BlockId id) const {
    return Bytes(id);
}

int64_t ConfigBlocks::ReadInt(const Field& field) const {
    const std::vector<uint8_t>& bytes = Bytes(field.block);
    uint64_t value = 0;
    for (size_t i = 0; i < field.width; ++i) {
        value |= static_cast<uint64_t>(bytes[field.offset + i]) << (8 * i);
    }
    const int bits = static_cast<int>(8 * field.width);
    if (field.isSigned && bits < 64 && (value >> (bits - 1)) != 0) {
        return static_cast<int64_t>(value) - (int64_t{1} << bits);
    }
    return static_cast<int64_t>(value);
}

void ConfigBlocks::WriteInt(const Field& field, int64_t value) {
    std::vector<uint8_t>& bytes = Bytes(field.block);
    const auto raw = static_cast<uint64_t>(value);
    for (size_t i = 0; i < field.width; ++i) {
        bytes[field.offset + i] = static_cast<uint8_t>(raw >> (8 * i));
    }
}

std::string ConfigBlocks::ReadText(const Field& field) const {
    const std::vector<uint8_t>& bytes = Bytes(field.block);
    const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(field.offset);
    const auto end = std::find(begin, begin + static_cast<std::ptrdiff_t>(field.width), 0);
    return std::string(begin, end);
}

void ConfigBlocks::WriteText(const Field& field, std::string_view text) {
    std::vector<uint8_t>& bytes = Bytes(field.block);
    const size_t length = std::min(text.size(), field.width - 1);
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(field.offset), field.width, 0);
    std::copy_n(text.begin(), length, bytes.begin() + static_cast<std::ptrdiff_t>(field.offset));
}

std::vector<uint8_t>& ConfigBlocks::Bytes(BlockId id) {
    return const_cast<std::vector<uint8_t>&>(std::as_const(*this).Bytes(id));
}

const std::vector<uint8_t>& ConfigBlocks::Bytes(BlockId id) const {
    switch (id) {
        case BlockId::kConf:
            return conf_;
        case BlockId::kUser:
            return user_;
        case BlockId::kOper:
            break;
    }
    return oper_;
}

}  // namespace brennix::sim
