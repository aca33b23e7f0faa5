#include "setup/days_remaining.h"

#include "platform/number_text.h"
#include "setup/sample_size.h"

namespace brennix {

namespace {

// One record's worth of the recorder is kept back for the configuration the instrument writes.
constexpr uint64_t kReservedBytes = SetupRecord::kSize;
constexpr double kDaysPerSecond = 1.1574074074074073e-05;

constexpr const char* kUnknownSpace = "Days remaining unknown: recorder space not read";
constexpr const char* kNoSampleSize = "Days remaining unknown: no sample size";
constexpr const char* kNoBurstSamples = "Days remaining unknown: 0 samples per burst";
constexpr const char* kBadIntervals = "Days remaining unknown: check the intervals";

}  // namespace

std::string DaysRemainingText(std::optional<uint64_t> freeBytes, const SetupRecord& record,
                              std::string_view averagingText, std::string_view samplingText) {
    if (!freeBytes) {
        return kUnknownSpace;
    }
    const int64_t sampleSize = BytesPerSample(record);
    if (sampleSize <= 0) {
        return kNoSampleSize;
    }
    const std::optional<int32_t> averaging = ParseInteger(averagingText);
    const std::optional<int32_t> sampling = ParseInteger(samplingText);
    if (!averaging || !sampling || *averaging < 0 || *sampling < 0) {
        return kBadIntervals;
    }
    const uint64_t usable = *freeBytes > kReservedBytes ? *freeBytes - kReservedBytes : *freeBytes;
    const auto samples = static_cast<int64_t>(usable / static_cast<uint64_t>(sampleSize));
    const UserBlock& user = record.User();
    const int64_t burstInterval = user.BurstInterval();
    int64_t seconds = 0;
    if (user.BurstSampling() != 0 && int64_t{*averaging} * *sampling <= burstInterval) {
        if (user.SamplesPerBurst() == 0) {
            return kNoBurstSamples;
        }
        seconds = samples / user.SamplesPerBurst() * burstInterval;
    } else {
        seconds = samples * *sampling;
    }
    if (seconds < 0) {
        return kBadIntervals;
    }
    return FormatText("%.1f days of operation remaining",
                      static_cast<double>(seconds) * kDaysPerSecond);
}

}  // namespace brennix
