#include "setup/unit_conversion.h"

namespace brennix {

namespace {

constexpr double kMetresPerFoot = 0.30479999767456056;
constexpr double kFeetPerMetre = 3.2808399200439453;
constexpr double kCelsiusPerFahrenheit = 0.5555555702727522;
constexpr double kFahrenheitPerCelsius = 1.7999999523162842;
constexpr double kFreezingFahrenheit = 32.0;

}  // namespace

double ConvertUnits(double value, Quantity quantity, bool toMetric) {
    switch (quantity) {
        case Quantity::kLength:
            return toMetric ? value * kMetresPerFoot : value * kFeetPerMetre;
        case Quantity::kTemperature:
            return toMetric ? (value - kFreezingFahrenheit) * kCelsiusPerFahrenheit
                            : value * kFahrenheitPerCelsius + kFreezingFahrenheit;
        case Quantity::kNone:
            break;
    }
    return value;
}

double FromMetric(double value, Quantity quantity, UnitSystem units) {
    return units == UnitSystem::kEnglish ? ConvertUnits(value, quantity, false) : value;
}

double ToMetric(double value, Quantity quantity, UnitSystem units) {
    return units == UnitSystem::kEnglish ? ConvertUnits(value, quantity, true) : value;
}

}  // namespace brennix
