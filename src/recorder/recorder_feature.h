#pragma once

#include "instrument/instrument_codes.h"
#include "script/feature_check.h"

namespace brennix {

// Setup > Recorder: the recorder manager; brennix-cli recorder. Its entry in the feature list
// (features/feature_list.h).
struct RecorderFeature {
    static constexpr const char* kMenuText = "&Recorder";
    static inline const FeatureCheck kCheck{true, true, false, true, {}, "Instrument not found",
                                            ""};
};

}  // namespace brennix
