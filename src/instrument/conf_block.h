#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace brennix {

// The instrument's hardware description, the 96 bytes "get Conf" returns. Read only: nothing in
// the program ever writes it back.
class ConfBlock {
  public:
    static constexpr size_t kSize = 96;

    ConfBlock() { bytes_.fill(0); }
    explicit ConfBlock(std::span<const uint8_t, kSize> bytes);

    std::span<const uint8_t, kSize> Bytes() const { return bytes_; }

    // Software versions × 10 (38 = 3.8).
    uint8_t CpuVersion() const { return bytes_[12]; }
    uint8_t DspVersion() const { return bytes_[13]; }
    // At most the field's 10 bytes, up to the first NUL when there is one.
    std::string SerialNumber() const;
    int8_t SystemCode() const;
    // System code / 16 and % 16, truncating toward zero as the instrument's own arithmetic does.
    int SystemType() const { return SystemCode() / 16; }
    int FrequencyCode() const { return SystemCode() % 16; }
    int8_t BeamCount() const;
    int8_t BeamGeometry() const;
    // Tenths of a degree.
    int16_t SlantAngle() const;
    int8_t Orientation() const;
    int8_t CompassInstalled() const;
    int8_t RecorderInstalled() const;
    int8_t TemperatureSensorInstalled() const;
    int8_t PressureSensorInstalled() const;
    int8_t CtdSensorInstalled() const;
    int8_t YsiSensorInstalled() const;
    int8_t ExternalPressureSensorInstalled() const;
    int8_t VerticalBeamPresent() const;
    int8_t Sdi12Option() const;
    int8_t ProfilingOption() const;

    // The sensors that firmware before 5.4 does not report: the setup sheet clears them.
    void ClearLateSensors();

  private:
    int8_t Signed(size_t offset) const;

    std::array<uint8_t, kSize> bytes_;
};

}  // namespace brennix
