#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "instrument/setup_record.h"

namespace brennix {

// The Deploy page's "%.1f days of operation remaining" for the recorder's free bytes and the
// intervals as typed (burst sampling counted from the record). Computed in 64 bits, so large
// recorders and long intervals never wrap. Where no figure exists (free space not known, a sample
// size or samples per burst of 0, intervals that are not whole numbers) the text says why.
std::string DaysRemainingText(std::optional<uint64_t> freeBytes, const SetupRecord& record,
                              std::string_view averagingText, std::string_view samplingText);

}  // namespace brennix
