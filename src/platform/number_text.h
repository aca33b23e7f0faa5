#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace brennix {

// Numbers as text for instrument commands, files and the setup pages. Machines read these, so
// the decimal separator is a point whatever the user's locale; nothing here reads the locale.

// A number with a fixed count of decimals, right-aligned in at least width characters, as
// printf's "%*.*f" writes it in the C locale.
std::string FixedText(double value, int decimals, size_t width = 0);

// What the pages accept in their numeric edits: blanks around the number are fine, anything else
// around it is not, so "60abc" never becomes a 60 sent to the instrument.

// A whole number with an optional sign that fits 32 bits.
std::optional<int32_t> ParseInteger(std::string_view text);
// Whether the text is a whole number with an optional sign, of any size: one that ParseInteger
// refuses is then out of range rather than no number.
bool IsWholeNumberText(std::string_view text);
// A finite decimal number ("0.5", "-3", "1e2", ".25"); no hexadecimal, infinity or NaN.
std::optional<double> ParseDecimal(std::string_view text);

using FormatArgument = std::variant<long long, unsigned long long, double, std::string_view>;
std::string FormatArguments(std::string_view format, const std::vector<FormatArgument>& arguments);

// printf-style formatting into a string, for the texts the pages and commands are made of:
// conversions d, i, u, f and s with the flags '-' and '0', a width and a precision, and "%%".
// A floating-point number is written by FixedText; a conversion without its argument writes
// nothing.
template <typename... Args>
std::string FormatText(std::string_view format, const Args&... args) {
    const auto argument = [](const auto& value) -> FormatArgument {
        using Value = std::decay_t<decltype(value)>;
        if constexpr (std::is_floating_point_v<Value>) {
            return static_cast<double>(value);
        } else if constexpr (std::is_integral_v<Value> && std::is_signed_v<Value>) {
            return static_cast<long long>(value);
        } else if constexpr (std::is_integral_v<Value>) {
            return static_cast<unsigned long long>(value);
        } else {
            return std::string_view(value);
        }
    };
    return FormatArguments(format, {argument(args)...});
}

}  // namespace brennix
