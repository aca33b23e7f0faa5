#include "recorder/download_rates.h"

#include <algorithm>

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

}  // namespace brennix
