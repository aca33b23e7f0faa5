#include "compass/compass_replies.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <type_traits>

namespace brennix {

namespace {

constexpr double kTurn = 360.0;

size_t FindLastIgnoringCase(std::string_view text, std::string_view word) {
    const auto sameLetter = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    };
    const auto found =
        std::find_end(text.begin(), text.end(), word.begin(), word.end(), sameLetter);
    return found == text.end() ? std::string_view::npos : static_cast<size_t>(found - text.begin());
}

// The text after any white space and one plus sign, where a number may start.
std::string_view NumberStart(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string_view::npos) {
        return {};
    }
    text.remove_prefix(first);
    if (text.starts_with('+') && !text.substr(1).starts_with('-')) {
        text.remove_prefix(1);
    }
    return text;
}

// The number at the start of text, read the same way in every locale; end tells how far into
// the text it reached.
template <typename Number>
std::optional<Number> Leading(std::string_view text, size_t& end) {
    const std::string_view digits = NumberStart(text);
    Number value{};
    const auto [next, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || next == digits.data()) {
        return std::nullopt;
    }
    end = static_cast<size_t>(next - text.data());
    if constexpr (std::is_floating_point_v<Number>) {
        if (!std::isfinite(value)) {
            return std::nullopt;
        }
    }
    return value;
}

template <typename Number>
std::optional<Number> Leading(std::string_view text) {
    size_t end = 0;
    return Leading<Number>(text, end);
}

// Reads the number after the next "=" from pos on; pos moves past the number.
std::optional<double> NumberAfterEquals(std::string_view text, size_t& pos) {
    const size_t equals = text.find('=', pos);
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    size_t end = 0;
    const std::optional<double> value = Leading<double>(text.substr(equals + 1), end);
    pos = equals + 1 + end;
    return value;
}

// Finds word from pos on and reads the number after the "=" that follows it.
std::optional<double> ValueAfter(std::string_view text, std::string_view word, size_t& pos) {
    const size_t at = text.find(word, pos);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    pos = at + word.size();
    return NumberAfterEquals(text, pos);
}

double Normalised(double heading) {
    if (heading > kTurn) {
        return heading - kTurn;
    }
    if (heading < -kTurn) {
        return heading + kTurn;
    }
    return heading;
}

}  // namespace

std::optional<Attitude> ParseAttitude(std::string_view text) {
    constexpr std::string_view kHeading = "Heading";
    const size_t last = FindLastIgnoringCase(text, kHeading);
    if (last == std::string_view::npos) {
        return std::nullopt;
    }
    size_t pos = last + kHeading.size();
    const std::optional<double> heading = NumberAfterEquals(text, pos);
    const std::optional<double> pitch = heading ? ValueAfter(text, "Pitch", pos) : std::nullopt;
    const std::optional<double> roll = pitch ? ValueAfter(text, "Roll", pos) : std::nullopt;
    // A roll that reaches the end of what arrived may still be arriving ("-1.2" of "-1.25").
    if (!roll || pos == text.size()) {
        return std::nullopt;
    }
    return Attitude{Normalised(*heading), *pitch, *roll};
}

std::optional<CompassScores> ParseScores(std::string_view text) {
    const size_t score = text.find("score:");
    const size_t h = score == std::string_view::npos ? score : text.find('H', score);
    const size_t v = h == std::string_view::npos ? h : text.find('V', h);
    const size_t m = v == std::string_view::npos ? v : text.find('M', v);
    if (m == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<int> horizontal = Leading<int>(text.substr(h + 1));
    const std::optional<int> vertical = Leading<int>(text.substr(v + 1));
    const std::optional<double> field = Leading<double>(text.substr(m + 1));
    if (!horizontal || !vertical || !field) {
        return std::nullopt;
    }
    return CompassScores{*horizontal, *vertical, *field};
}

}  // namespace brennix
