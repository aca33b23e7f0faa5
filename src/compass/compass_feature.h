#pragma once

#include "instrument/instrument_codes.h"
#include "script/feature_check.h"

namespace brennix {

// Setup > Compass: the compass calibration; brennix-cli compass. Its entry in the feature list
// (features/feature_list.h).
struct CompassFeature {
    static constexpr const char* kMenuText = "&Compass";
    static inline const FeatureCheck kCheck{true, true, false, true, {}, "Instrument not found",
                                            ""};
};

}  // namespace brennix
