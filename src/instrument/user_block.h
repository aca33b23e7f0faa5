#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace brennix {

// The instrument's start date as its clock keeps it.
struct StartDate {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const StartDate&) const = default;
};

// The start time; the clock's hundredths byte is never shown nor changed.
struct StartTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const StartTime&) const = default;
};

// The user's settings, the 258 bytes "get User" returns. Every field is read and written byte by
// byte at its offset (several lie at odd offsets); bytes without an accessor are kept as they
// came.
class UserBlock {
  public:
    static constexpr size_t kSize = 258;
    // The deployment name's field: at most 8 characters and the terminating NUL.
    static constexpr size_t kNameField = 9;
    static constexpr size_t kMaxNameLength = kNameField - 1;

    UserBlock() { bytes_.fill(0); }
    explicit UserBlock(std::span<const uint8_t, kSize> bytes);

    std::span<const uint8_t, kSize> Bytes() const { return bytes_; }

    // Tenths of a degree Celsius.
    int16_t Temperature() const;
    void SetTemperature(int16_t tenths);
    // Tenths of a part per thousand.
    int16_t Salinity() const;
    void SetSalinity(int16_t tenths);
    // 0 USER, 1 MEASURED.
    int8_t TempMode() const;
    void SetTempMode(int8_t mode);
    // Seconds.
    int32_t AveragingInterval() const;
    void SetAveragingInterval(int32_t seconds);
    int32_t SamplingInterval() const;
    void SetSamplingInterval(int32_t seconds);
    // Non-zero: burst sampling on.
    uint16_t BurstSampling() const;
    int32_t BurstInterval() const;
    uint16_t SamplesPerBurst() const;
    // 0 BEAM, 1 XYZ, 2 ENU.
    int8_t CoordSystem() const;
    void SetCoordSystem(int8_t system);
    // 3 is metric output.
    int8_t OutputFormat() const;
    void SetOutputFormat(int8_t format);
    // Up to the first NUL of the 9-byte field, never beyond it.
    std::string DeploymentName() const;
    // False, with the field unchanged, for a name longer than 8 characters.
    bool SetDeploymentName(std::string_view name);
    StartDate GetStartDate() const;
    void SetStartDate(const StartDate& date);
    StartTime GetStartTime() const;
    void SetStartTime(const StartTime& time);
    // 0 NO, 1 YES.
    int8_t DynBoundAdj() const;
    void SetDynBoundAdj(int8_t adjust);
    // Centimetres.
    int16_t CellBegin() const;
    void SetCellBegin(int16_t centimetres);
    int16_t CellEnd() const;
    void SetCellEnd(int16_t centimetres);
    // 0 LONG, 1 SHORT.
    int8_t DataFormat() const;
    void SetDataFormat(int8_t format);
    // Bit 0 wave spectra on; bit 1 adds a wave burst to every sample.
    int8_t WaveOptions() const;
    void SetWaveOptions(int8_t flags);
    // Centimetres.
    int16_t WaterDepth() const;
    void SetWaterDepth(int16_t centimetres);

  private:
    int8_t Signed8(size_t offset) const;
    void Put8(size_t offset, int value);
    int16_t Signed16(size_t offset) const;
    void Put16(size_t offset, int16_t value);

    std::array<uint8_t, kSize> bytes_;
};

}  // namespace brennix
