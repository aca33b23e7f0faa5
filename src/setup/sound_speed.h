#pragma once

#include <string>
#include <string_view>

#include "instrument/unit_system.h"

namespace brennix {

// Medwin's simplified equation for the speed of sound in sea water: salinity in ppt,
// temperature in deg C, depth in metres; metres per second, in single precision as the
// instrument's own figure is.
float SoundSpeed(float salinity, float temperature, float depth);

// The Advanced page's speed-of-sound text ("%.02f", ft/s in English units) for the salinity and
// temperature as typed; empty when either is not a number.
std::string SoundSpeedText(std::string_view salinity, std::string_view temperature,
                           UnitSystem units);

}  // namespace brennix
