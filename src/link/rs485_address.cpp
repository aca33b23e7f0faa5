#include "link/rs485_address.h"

#include <charconv>

namespace brennix {

std::optional<uint32_t> ParseRs485Address(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, last - first + 1);
    uint32_t address = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), address);
    if (error != std::errc() || end != text.data() + text.size() || address > kMaxRs485Address) {
        return std::nullopt;
    }
    return address;
}

}  // namespace brennix
