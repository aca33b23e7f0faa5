#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "link/line_rates.h"
#include "platform/settings.h"

namespace brennix {

// The rates a download may switch the line to, slowest first.
inline constexpr std::array<uint32_t, 10> kDownloadRates = kLineRates;

bool IsDownloadRate(uint32_t rate);

// The download rate both programs use unless told another: the saved one ("Recorder"/
// "DownoadRate", 57600 until one is saved); none when what is saved is not one of the rates.
std::optional<uint32_t> SavedDownloadRate(const Settings& settings);
void SaveDownloadRate(Settings& settings, uint32_t rate);

// Attempts at each block (3 unless a noisy line asked for more, 1 to 10) and whether files are
// fetched twice and compared, as the recorder manager keeps them.
int SavedBlockAttempts(const Settings& settings);
bool SavedVerify(const Settings& settings);
void SaveDownloadChecks(Settings& settings, int blockAttempts, bool verify);

}  // namespace brennix
