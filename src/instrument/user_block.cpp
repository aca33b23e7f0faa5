#include "instrument/user_block.h"

#include <algorithm>

#include "platform/little_endian.h"

namespace brennix {

namespace {

constexpr size_t kTemperature = 12;
constexpr size_t kSalinity = 14;
constexpr size_t kTempMode = 24;
constexpr size_t kAveragingInterval = 25;
constexpr size_t kSamplingInterval = 29;
constexpr size_t kBurstSampling = 35;
constexpr size_t kBurstInterval = 37;
constexpr size_t kSamplesPerBurst = 41;
constexpr size_t kCoordSystem = 43;
constexpr size_t kOutputFormat = 45;
constexpr size_t kDeploymentName = 49;
constexpr size_t kStartYear = 58;
constexpr size_t kStartDay = 60;
constexpr size_t kStartMonth = 61;
constexpr size_t kStartMinute = 62;
constexpr size_t kStartHour = 63;
constexpr size_t kStartSecond = 65;
constexpr size_t kDynBoundAdj = 247;
constexpr size_t kCellBegin = 248;
constexpr size_t kCellEnd = 250;
constexpr size_t kDataFormat = 254;
constexpr size_t kWaveOptions = 255;
constexpr size_t kWaterDepth = 256;

}  // namespace

UserBlock::UserBlock(std::span<const uint8_t, kSize> bytes) {
    std::copy(bytes.begin(), bytes.end(), bytes_.begin());
}

int8_t UserBlock::Signed8(size_t offset) const {
    return ReadS8(bytes_, offset);
}

void UserBlock::Put8(size_t offset, int value) {
    bytes_[offset] = static_cast<uint8_t>(value & 0xFF);
}

int16_t UserBlock::Signed16(size_t offset) const {
    return ReadS16(bytes_, offset);
}

void UserBlock::Put16(size_t offset, int16_t value) {
    WriteU16(bytes_, offset, static_cast<uint16_t>(value));
}

int16_t UserBlock::Temperature() const {
    return Signed16(kTemperature);
}
void UserBlock::SetTemperature(int16_t tenths) {
    Put16(kTemperature, tenths);
}
int16_t UserBlock::Salinity() const {
    return Signed16(kSalinity);
}
void UserBlock::SetSalinity(int16_t tenths) {
    Put16(kSalinity, tenths);
}
int8_t UserBlock::TempMode() const {
    return Signed8(kTempMode);
}
void UserBlock::SetTempMode(int8_t mode) {
    Put8(kTempMode, mode);
}

int32_t UserBlock::AveragingInterval() const {
    return ReadS32(bytes_, kAveragingInterval);
}

void UserBlock::SetAveragingInterval(int32_t seconds) {
    WriteU32(bytes_, kAveragingInterval, static_cast<uint32_t>(seconds));
}

int32_t UserBlock::SamplingInterval() const {
    return ReadS32(bytes_, kSamplingInterval);
}

void UserBlock::SetSamplingInterval(int32_t seconds) {
    WriteU32(bytes_, kSamplingInterval, static_cast<uint32_t>(seconds));
}

uint16_t UserBlock::BurstSampling() const {
    return ReadU16(bytes_, kBurstSampling);
}
int32_t UserBlock::BurstInterval() const {
    return ReadS32(bytes_, kBurstInterval);
}
uint16_t UserBlock::SamplesPerBurst() const {
    return ReadU16(bytes_, kSamplesPerBurst);
}
int8_t UserBlock::CoordSystem() const {
    return Signed8(kCoordSystem);
}
void UserBlock::SetCoordSystem(int8_t system) {
    Put8(kCoordSystem, system);
}
int8_t UserBlock::OutputFormat() const {
    return Signed8(kOutputFormat);
}
void UserBlock::SetOutputFormat(int8_t format) {
    Put8(kOutputFormat, format);
}

std::string UserBlock::DeploymentName() const {
    const auto first = bytes_.begin() + kDeploymentName;
    return std::string(first, std::find(first, first + kNameField, uint8_t{0}));
}

bool UserBlock::SetDeploymentName(std::string_view name) {
    if (name.size() > kMaxNameLength) {
        return false;
    }
    const auto first = bytes_.begin() + kDeploymentName;
    std::fill_n(first, kNameField, uint8_t{0});
    std::copy(name.begin(), name.end(), first);
    return true;
}

StartDate UserBlock::GetStartDate() const {
    return {ReadU16(bytes_, kStartYear), bytes_[kStartMonth], bytes_[kStartDay]};
}

void UserBlock::SetStartDate(const StartDate& date) {
    WriteU16(bytes_, kStartYear, static_cast<uint16_t>(date.year));
    Put8(kStartMonth, date.month);
    Put8(kStartDay, date.day);
}

StartTime UserBlock::GetStartTime() const {
    return {bytes_[kStartHour], bytes_[kStartMinute], bytes_[kStartSecond]};
}

void UserBlock::SetStartTime(const StartTime& time) {
    Put8(kStartHour, time.hour);
    Put8(kStartMinute, time.minute);
    Put8(kStartSecond, time.second);
}

int8_t UserBlock::DynBoundAdj() const {
    return Signed8(kDynBoundAdj);
}
void UserBlock::SetDynBoundAdj(int8_t adjust) {
    Put8(kDynBoundAdj, adjust);
}
int16_t UserBlock::CellBegin() const {
    return Signed16(kCellBegin);
}
void UserBlock::SetCellBegin(int16_t centimetres) {
    Put16(kCellBegin, centimetres);
}
int16_t UserBlock::CellEnd() const {
    return Signed16(kCellEnd);
}
void UserBlock::SetCellEnd(int16_t centimetres) {
    Put16(kCellEnd, centimetres);
}
int8_t UserBlock::DataFormat() const {
    return Signed8(kDataFormat);
}
void UserBlock::SetDataFormat(int8_t format) {
    Put8(kDataFormat, format);
}
int8_t UserBlock::WaveOptions() const {
    return Signed8(kWaveOptions);
}
void UserBlock::SetWaveOptions(int8_t flags) {
    Put8(kWaveOptions, flags);
}
int16_t UserBlock::WaterDepth() const {
    return Signed16(kWaterDepth);
}
void UserBlock::SetWaterDepth(int16_t centimetres) {
    Put16(kWaterDepth, centimetres);
}

}  // namespace brennix
