#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "desktop/feature_context.h"
#include "script/feature_check.h"

namespace brennix {

// One feature of the Setup menu: its menu text, the instrument check it needs, and how it opens.
struct FeatureEntry {
    QString menuText;
    const FeatureCheck* check = nullptr;
    std::function<void(const FeatureContext&)> open;
};

// The Setup menu's features in menu order. Each feature adds its row here and nothing else.
std::vector<FeatureEntry> FeatureEntries();

// Opens a feature as the Setup menu does: while the link is held, the instrument check with its
// wait cursor, detached output and message; then the feature itself.
void LaunchFeature(const FeatureEntry& entry, const FeatureContext& context);

}  // namespace brennix
