#include "setup/number_text.h"

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

}  // namespace

std::optional<int32_t> ParseInteger(std::string_view text) {
    const std::string_view number = WithoutPlus(Trimmed(text));
    int32_t value = 0;
    const auto [end, status] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || status != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return value;
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

}  // namespace brennix
