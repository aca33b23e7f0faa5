#pragma once

#include <array>
#include <charconv>
#include <string>

namespace brennix {

// A number with a fixed count of decimals, right-aligned in at least width characters, as
// printf's "%*.*f" writes it in the C locale: the decimal separator is a point whatever the
// user's locale, because instrument commands and files are read by machines.
inline std::string FixedText(double value, int decimals, size_t width = 0) {
    std::array<char, 400> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                            std::chars_format::fixed, decimals);
    std::string text = error == std::errc() ? std::string(digits.data(), end) : std::string("?");
    if (text.size() < width) {
        text.insert(0, width - text.size(), ' ');
    }
    return text;
}

}  // namespace brennix
