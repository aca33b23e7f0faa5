#pragma once

#include "instrument/instrument_codes.h"
#include "script/feature_check.h"

namespace brennix {

// Setup > Deployment: the "Setup Mirovan" sheet and the deployment; brennix-cli setup and
// deploy. Its entry in the feature list (features/feature_list.h).
struct SetupFeature {
    static constexpr const char* kMenuText = "&Deployment";
    static inline const FeatureCheck kCheck{true,
                                            true,
                                            true,
                                            true,
                                            {kMirovan},
                                            "Deployment dialog works only with Mirovan",
                                            "Mirovan not found"};
};

}  // namespace brennix
