#include "recorder/download_settings.h"

#include <algorithm>

#include "instrument/recorder_access.h"

namespace brennix {

bool IsDownloadRate(uint32_t rate) {
    return std::find(kDownloadRates.begin(), kDownloadRates.end(), rate) != kDownloadRates.end();
}

std::optional<uint32_t> SavedDownloadRate(const Settings& settings) {
    const int saved = settings.Read(settings::kDownloadRate);
    if (saved <= 0 || !IsDownloadRate(static_cast<uint32_t>(saved))) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(saved);
}

void SaveDownloadRate(Settings& settings, uint32_t rate) {
    settings.Write(settings::kDownloadRate, static_cast<int>(rate));
}

int SavedBlockAttempts(const Settings& settings) {
    return std::clamp(settings.Read(settings::kBlockAttempts), 1,
                      CRecorderAccess::kMaxBlockAttempts);
}

bool SavedVerify(const Settings& settings) {
    return settings.Read(settings::kVerifyDownloads) != 0;
}

void SaveDownloadChecks(Settings& settings, int blockAttempts, bool verify) {
    settings.Write(settings::kBlockAttempts, blockAttempts);
    settings.Write(settings::kVerifyDownloads, verify ? 1 : 0);
}

}  // namespace brennix
