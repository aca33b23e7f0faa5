#pragma once

#include <cstdint>
#include <string>

namespace brennix {

// Byte counts and durations as the recorder manager shows them.

// "1023 b", " 1.0 kB", "1.00 MB", "1.00 GB": below 1024 (or negative) the count itself; above,
// the quotient in single precision, four characters wide before the unit.
std::string FormatSize(int64_t bytes);

// "HH:MM:SS"; hours go past 99 rather than wrap.
std::string FormatDuration(uint64_t milliseconds);

}  // namespace brennix
