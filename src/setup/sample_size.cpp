#include "setup/sample_size.h"

#include "setup/value_names.h"

namespace brennix {

namespace {

constexpr int64_t kWxSample = 16;
constexpr int64_t kShortSample = 29;
constexpr int64_t kLongSample = 45;
constexpr int64_t kEarlyLongSample = 42;
constexpr uint8_t kLongSampleFirmware = 38;  // 3.8
constexpr uint8_t kFullSampleFirmware = 55;  // 5.5
constexpr int64_t kEarlyFirmwareSaving = 2;
constexpr int64_t kNonLmrSaving = 1;
constexpr int64_t kBytesPerBeamCell = 6;
constexpr int64_t kCtdBytes = 16;
constexpr int64_t kWaveSpectraBytes = 24;
constexpr int64_t kWaveBurstBytes = 2048;
constexpr int64_t kUnversionedWaveBurstBytes = 3072;

int64_t BaseSampleSize(const ConfBlock& conf, const UserBlock& user) {
    if (conf.SystemType() == system_types::kWx) {
        return kWxSample;
    }
    int64_t size = user.DataFormat() != 0                     ? kShortSample
                   : conf.CpuVersion() >= kLongSampleFirmware ? kLongSample
                                                              : kEarlyLongSample;
    if (conf.CpuVersion() < kFullSampleFirmware) {
        size -= kEarlyFirmwareSaving;
    }
    if (conf.SystemType() != system_types::kLmr) {
        size -= kNonLmrSaving;
    }
    return size;
}

}  // namespace

int64_t BytesPerSample(const SetupRecord& record) {
    const ConfBlock& conf = record.Conf();
    const UserBlock& user = record.User();
    int64_t size = BaseSampleSize(conf, user);
    if (record.Oper().ProfilingMode() != 0) {
        size = int64_t{conf.BeamCount()} * record.Oper().ProfileCells() * kBytesPerBeamCell;
    }
    if (conf.CtdSensorInstalled() != 0) {
        size += kCtdBytes;
    }
    size += conf.YsiSensorInstalled();
    if ((user.WaveOptions() & 0x01) != 0) {
        size += kWaveSpectraBytes;
    }
    if ((user.WaveOptions() & 0x02) != 0) {
        size += conf.CpuVersion() == 0 ? kUnversionedWaveBurstBytes : kWaveBurstBytes;
    }
    return size;
}

}  // namespace brennix
