#include "setup/sound_speed.h"

#include <optional>

#include "platform/number_text.h"

namespace brennix {

namespace {

constexpr float kCelsiusPerFahrenheit = 0.5555556f;
constexpr float kFeetPerMetre = 3.28084f;

std::optional<float> SinglePrecision(std::string_view text) {
    const std::optional<double> value = ParseDecimal(text);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

}  // namespace

float SoundSpeed(float salinity, float temperature, float depth) {
    const double t = temperature;
    const double a = 1.34 - 0.01 * t;
    // The salinity's difference is taken in single precision, as the instrument does.
    const double b = a * static_cast<double>(salinity - 35.0f);
    const double p = ((0.00029 * t - 0.055) * t + 4.6) * t;
    return static_cast<float>(((b + p) + 0.016 * static_cast<double>(depth)) + 1449.2);
}

std::string SoundSpeedText(std::string_view salinity, std::string_view temperature,
                           UnitSystem units) {
    const std::optional<float> s = SinglePrecision(salinity);
    std::optional<float> t = SinglePrecision(temperature);
    if (!s || !t) {
        return {};
    }
    const bool english = units == UnitSystem::kEnglish;
    if (english) {
        *t = (*t - 32.0f) * kCelsiusPerFahrenheit;
    }
    float speed = SoundSpeed(*s, *t, 0.0f);
    if (english) {
        speed *= kFeetPerMetre;
    }
    return FormatText("%.02f", static_cast<double>(speed));
}

}  // namespace brennix
