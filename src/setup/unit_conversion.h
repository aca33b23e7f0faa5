#pragma once

#include "instrument/unit_system.h"

namespace brennix {

// What a value measures, for the English-unit conversions of the pages.
enum class Quantity { kNone = 0, kLength = 1, kTemperature = 2 };

// Feet and metres, degrees Fahrenheit and Celsius, with the instrument's own factors (the
// single-precision constants widened to double). Any other quantity is returned unchanged.
double ConvertUnits(double value, Quantity quantity, bool toMetric);

// A metric value as the page shows it in the unit system, and the value typed back to metric.
double FromMetric(double value, Quantity quantity, UnitSystem units);
double ToMetric(double value, Quantity quantity, UnitSystem units);

}  // namespace brennix
