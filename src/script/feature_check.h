#pragma once

#include <optional>
#include <vector>

#include "script/session.h"

namespace brennix {

// What a feature asks of the instrument before it opens, and what it says when no suitable one
// answers.
struct FeatureCheck {
    bool waitCursor = true;
    // The wake-up traffic goes to the log only.
    bool detachOutput = true;
    bool identify = false;
    bool offerSdi12Exit = true;
    // The models the feature works with; empty: any instrument that answers.
    std::vector<int> models;
    const char* refusal = "";
    const char* caption = "";  // empty: the application's title
};

// Wakes (and, when asked, identifies) the instrument. Returns the code found, 2 or more, when the
// feature may open; otherwise shows the check's message and returns nothing. The output window
// and the wait cursor are back as they were before either happens.
std::optional<int> CheckInstrumentFor(CSession& session, const FeatureCheck& check);

}  // namespace brennix
