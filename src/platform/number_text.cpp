#include "platform/number_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace brennix {

namespace {

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// from_chars takes no leading plus sign; a sign must be followed by the number itself.
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+') {
        return text.substr(1);
    }
    return text;
}

bool StartsLikeNumber(std::string_view text) {
    const size_t at = !text.empty() && text.front() == '-' ? 1 : 0;
    return at < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[at])) != 0 || text[at] == '.');
}

// One conversion of a format: %[flags][width][.precision][length]conversion.
struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    size_t width = 0;
    std::optional<int> precision;
    char type = '\0';
};

// Reads the conversion that starts after the '%' at pos; pos ends after it.
Conversion ReadConversion(std::string_view format, size_t& pos) {
    Conversion conversion;
    for (; pos < format.size() && (format[pos] == '-' || format[pos] == '0'); ++pos) {
        (format[pos] == '-' ? conversion.leftAlign : conversion.zeroPad) = true;
    }
    for (; pos < format.size() && std::isdigit(static_cast<unsigned char>(format[pos])); ++pos) {
        conversion.width = conversion.width * 10 + static_cast<size_t>(format[pos] - '0');
    }
    if (pos < format.size() && format[pos] == '.') {
        int precision = 0;
        for (++pos; pos < format.size() && std::isdigit(static_cast<unsigned char>(format[pos]));
             ++pos) {
            precision = precision * 10 + (format[pos] - '0');
        }
        conversion.precision = precision;
    }
    while (pos < format.size() && (format[pos] == 'l' || format[pos] == 'h')) {
        ++pos;
    }
    if (pos < format.size()) {
        conversion.type = format[pos++];
    }
    return conversion;
}

std::string IntegerDigits(const FormatArgument& argument) {
    if (const auto* value = std::get_if<long long>(&argument)) {
        return std::to_string(*value);
    }
    if (const auto* value = std::get_if<unsigned long long>(&argument)) {
        return std::to_string(*value);
    }
    if (const auto* value = std::get_if<double>(&argument)) {
        return std::to_string(static_cast<long long>(*value));
    }
    return {};
}

std::string Converted(const Conversion& conversion, const FormatArgument& argument) {
    switch (conversion.type) {
        case 'd':
        case 'i':
        case 'u':
            return IntegerDigits(argument);
        case 'f': {
            const auto* value = std::get_if<double>(&argument);
            return FixedText(value != nullptr ? *value : 0.0, conversion.precision.value_or(6));
        }
        case 's': {
            const auto* text = std::get_if<std::string_view>(&argument);
            const std::string_view shown = text != nullptr ? *text : std::string_view();
            return std::string(conversion.precision
                                   ? shown.substr(0, static_cast<size_t>(*conversion.precision))
                                   : shown);
        }
        default:
            return {};
    }
}

// Pads to the width: blanks on the left (right with '-'), or zeros after the sign with '0'.
std::string Padded(const Conversion& conversion, std::string text) {
    if (text.size() >= conversion.width) {
        return text;
    }
    const size_t fill = conversion.width - text.size();
    if (conversion.leftAlign) {
        return text + std::string(fill, ' ');
    }
    if (conversion.zeroPad && conversion.type != 's') {
        const size_t sign = !text.empty() && text.front() == '-' ? 1 : 0;
        return text.insert(sign, fill, '0');
    }
    return std::string(fill, ' ') + text;
}

}  // namespace

std::string FixedText(double value, int decimals, size_t width) {
    std::array<char, 400> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                            std::chars_format::fixed, decimals);
    std::string text = error == std::errc() ? std::string(digits.data(), end) : std::string("?");
    if (text.size() < width) {
        text.insert(0, width - text.size(), ' ');
    }
    return text;
}

std::optional<int32_t> ParseInteger(std::string_view text) {
    const std::string_view number = WithoutPlus(Trimmed(text));
    int32_t value = 0;
    const auto [end, status] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || status != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return value;
}

bool IsWholeNumberText(std::string_view text) {
    std::string_view digits = Trimmed(text);
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        digits.remove_prefix(1);
    }
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

std::optional<double> ParseDecimal(std::string_view text) {
    const std::string_view number = WithoutPlus(Trimmed(text));
    if (!StartsLikeNumber(number)) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, status] = std::from_chars(number.data(), number.data() + number.size(), value,
                                               std::chars_format::general);
    if (status != std::errc() || end != number.data() + number.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string FormatArguments(std::string_view format, const std::vector<FormatArgument>& arguments) {
    std::string text;
    size_t next = 0;
    for (size_t pos = 0; pos < format.size();) {
        const char c = format[pos++];
        if (c != '%') {
            text += c;
        } else if (pos < format.size() && format[pos] == '%') {
            text += '%';
            ++pos;
        } else {
            const Conversion conversion = ReadConversion(format, pos);
            if (next < arguments.size()) {
                text += Padded(conversion, Converted(conversion, arguments[next++]));
            }
        }
    }
    return text;
}

}  // namespace brennix
