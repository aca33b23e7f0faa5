#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace brennix {

// What the pages accept in their numeric edits: blanks around the number are fine, anything else
// around it is not, so "60abc" never becomes a 60 sent to the instrument.

// A whole number with an optional sign that fits 32 bits.
std::optional<int32_t> ParseInteger(std::string_view text);
// A finite decimal number ("0.5", "-3", "1e2", ".25"); no hexadecimal, infinity or NaN.
std::optional<double> ParseDecimal(std::string_view text);

// printf-style formatting into a string, for the texts the pages and commands are made of.
template <typename... Args>
std::string FormatText(const char* format, Args... args) {
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, args...);
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace brennix
