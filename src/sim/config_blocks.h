#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/simulated_instrument.h"

namespace brennix::sim {

enum class BlockId { kConf, kUser, kOper };

// A little-endian integer or a NUL-terminated text at a fixed place in one block.
struct Field {
    BlockId block;
    size_t offset;
    size_t width;  // bytes; for a text, its capacity including the NUL
    bool isSigned = true;
};

// Where the fields lie that the instrument reports, shows or lets the user set.
namespace fields {
inline constexpr Field kCpuVersion{BlockId::kConf, 12, 1, false};
inline constexpr Field kDspVersion{BlockId::kConf, 13, 1, false};
inline constexpr Field kSerialNumber{BlockId::kConf, 15, 10};
inline constexpr Field kSystemCode{BlockId::kConf, 25, 1};
inline constexpr Field kBeamCount{BlockId::kConf, 26, 1};
inline constexpr Field kBeamGeometry{BlockId::kConf, 27, 1};
inline constexpr Field kSlantAngle{BlockId::kConf, 28, 2};
inline constexpr Field kOrientation{BlockId::kConf, 30, 1};
inline constexpr Field kCompassInstalled{BlockId::kConf, 31, 1};
inline constexpr Field kRecorderInstalled{BlockId::kConf, 32, 1};
inline constexpr Field kTemperatureInstalled{BlockId::kConf, 33, 1};
inline constexpr Field kPressureInstalled{BlockId::kConf, 34, 1};
inline constexpr Field kExternalPressureInstalled{BlockId::kConf, 90, 1};
inline constexpr Field kSdi12Option{BlockId::kConf, 93, 1};
inline constexpr Field kProfilingOption{BlockId::kConf, 94, 1};

inline constexpr Field kTemperature{BlockId::kUser, 12, 2};
inline constexpr Field kSalinity{BlockId::kUser, 14, 2};
inline constexpr Field kTempMode{BlockId::kUser, 24, 1};
inline constexpr Field kAveragingInterval{BlockId::kUser, 25, 4};
inline constexpr Field kSamplingInterval{BlockId::kUser, 29, 4};
inline constexpr Field kBurstMode{BlockId::kUser, 35, 2, false};
inline constexpr Field kBurstInterval{BlockId::kUser, 37, 4};
inline constexpr Field kSamplesPerBurst{BlockId::kUser, 41, 2, false};
inline constexpr Field kCoordSystem{BlockId::kUser, 43, 1};
inline constexpr Field kOutputFormat{BlockId::kUser, 45, 1};
inline constexpr Field kDeploymentName{BlockId::kUser, 49, 9};
inline constexpr Field kStartYear{BlockId::kUser, 58, 2};
inline constexpr Field kStartDay{BlockId::kUser, 60, 1};
inline constexpr Field kStartMonth{BlockId::kUser, 61, 1};
inline constexpr Field kStartMinute{BlockId::kUser, 62, 1};
inline constexpr Field kStartHour{BlockId::kUser, 63, 1};
inline constexpr Field kStartSecond{BlockId::kUser, 65, 1};
inline constexpr Field kDynBoundAdj{BlockId::kUser, 247, 1};
inline constexpr Field kCellBegin{BlockId::kUser, 248, 2};
inline constexpr Field kCellEnd{BlockId::kUser, 250, 2};
inline constexpr Field kDataFormat{BlockId::kUser, 254, 1};
inline constexpr Field kWaveOptions{BlockId::kUser, 255, 1};
inline constexpr Field kWaterDepth{BlockId::kUser, 256, 2};

// Cell size and blank distance lie in bytes the host does not interpret.
inline constexpr Field kCellSize{BlockId::kOper, 44, 2};
inline constexpr Field kBlankDistance{BlockId::kOper, 46, 2};
inline constexpr Field kProfilingMode{BlockId::kOper, 52, 1};
inline constexpr Field kProfileCells{BlockId::kOper, 53, 1};
inline constexpr Field kSdi12Format{BlockId::kOper, 56, 1};
}  // namespace fields

// The instrument's configuration as the three blocks it sends on "get Conf", "get User" and
// "get Oper": the hardware description, the user's settings and the operating parameters.
class ConfigBlocks {
  public:
    static constexpr size_t kConfSize = 96;
    static constexpr size_t kUserSize = 258;
    static constexpr size_t kOperSize = 64;

    explicit ConfigBlocks(const Settings& settings);

    // Puts the user's settings and operating parameters back to the factory values (without a
    // start date on an instrument described as never set up).
    void RestoreDefaults();

    std::span<const uint8_t> Block(BlockId id) const;
    int64_t ReadInt(const Field& field) const;
    void WriteInt(const Field& field, int64_t value);
    std::string ReadText(const Field& field) const;
    void WriteText(const Field& field, std::string_view text);

  private:
    std::vector<uint8_t>& Bytes(BlockId id);
    const std::vector<uint8_t>& Bytes(BlockId id) const;
    void FillHardware(const Settings& settings);

    std::vector<uint8_t> conf_;
    std::vector<uint8_t> user_;
    std::vector<uint8_t> oper_;
    bool startDateSet_ = true;
};

}  // namespace brennix::sim
