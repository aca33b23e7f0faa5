#include "instrument/conf_block.h"

#include <algorithm>

#include "platform/little_endian.h"

namespace brennix {

namespace {

constexpr size_t kSerialOffset = 15;
constexpr size_t kSerialSize = 10;
constexpr size_t kYsiOffset = 89;
constexpr size_t kExternalPressureOffset = 90;

}  // namespace

ConfBlock::ConfBlock(std::span<const uint8_t, kSize> bytes) {
    std::copy(bytes.begin(), bytes.end(), bytes_.begin());
}

std::string ConfBlock::SerialNumber() const {
    const auto first = bytes_.begin() + kSerialOffset;
    const auto end = std::find(first, first + kSerialSize, uint8_t{0});
    return std::string(first, end);
}

int8_t ConfBlock::Signed(size_t offset) const {
    return ReadS8(bytes_, offset);
}

int8_t ConfBlock::SystemCode() const {
    return Signed(25);
}
int8_t ConfBlock::BeamCount() const {
    return Signed(26);
}
int8_t ConfBlock::BeamGeometry() const {
    return Signed(27);
}
int16_t ConfBlock::SlantAngle() const {
    return ReadS16(bytes_, 28);
}
int8_t ConfBlock::Orientation() const {
    return Signed(30);
}
int8_t ConfBlock::CompassInstalled() const {
    return Signed(31);
}
int8_t ConfBlock::RecorderInstalled() const {
    return Signed(32);
}
int8_t ConfBlock::TemperatureSensorInstalled() const {
    return Signed(33);
}
int8_t ConfBlock::PressureSensorInstalled() const {
    return Signed(34);
}
int8_t ConfBlock::CtdSensorInstalled() const {
    return Signed(35);
}
int8_t ConfBlock::YsiSensorInstalled() const {
    return Signed(kYsiOffset);
}
int8_t ConfBlock::ExternalPressureSensorInstalled() const {
    return Signed(kExternalPressureOffset);
}
int8_t ConfBlock::VerticalBeamPresent() const {
    return Signed(92);
}
int8_t ConfBlock::Sdi12Option() const {
    return Signed(93);
}
int8_t ConfBlock::ProfilingOption() const {
    return Signed(94);
}

void ConfBlock::ClearLateSensors() {
    bytes_[kYsiOffset] = 0;
    bytes_[kExternalPressureOffset] = 0;
}

}  // namespace brennix
