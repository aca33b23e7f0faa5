#pragma once

#include <string>
#include <string_view>

namespace brennix::sim {

// The instrument reads command words without regard to case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
std::string ToUpper(std::string_view text);

}  // namespace brennix::sim
