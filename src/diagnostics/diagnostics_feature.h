#pragma once

#include "instrument/instrument_codes.h"
#include "script/feature_check.h"

namespace brennix {

// Setup > Diagnostics: the Echolux beam diagnostics; brennix-cli diag. Its entry in the feature
// list (features/feature_list.h).
struct DiagnosticsFeature {
    static constexpr const char* kMenuText = "Diagnostics";
    static inline const FeatureCheck kCheck{false,
                                            false,
                                            true,
                                            true,
                                            {kMirovan, kFendrel},
                                            "Echolux works only with Mirovan",
                                            "Mirovan not found"};
};

}  // namespace brennix
