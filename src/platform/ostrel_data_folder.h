#pragma once

#include <string>

namespace brennix {

// The folder OstrelData in the user's documents (~/Documents/OstrelData, on Windows
// Documents\OstrelData), where both programs put what they keep for the technician, as a local
// 8-bit path. It may not exist yet.
std::string OstrelDataFolder();

}  // namespace brennix
