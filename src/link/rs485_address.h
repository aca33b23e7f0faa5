#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace brennix {

// An RS-485 converter carries one address nibble in the selection byte 0xF0 | address, so an
// instrument answers to 1 to 15; 0 means plain RS-232 (no selection). Anything else would
// address the wrong instrument.
inline constexpr uint32_t kMaxRs485Address = 15;
inline constexpr const char* kRs485AddressRule = "an RS-485 address is 0 (plain RS-232) to 15";

// The address a user typed (a decimal number, blanks around it allowed); none when it is not a
// whole number from 0 to 15.
std::optional<uint32_t> ParseRs485Address(std::string_view text);

}  // namespace brennix
