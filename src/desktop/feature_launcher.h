#pragma once

#include <QString>
#include <vector>

#include "desktop_ui/feature_context.h"
#include "script/feature_check.h"

namespace brennix {

// One feature of the Setup menu, from the feature list: its menu text, the instrument check it
// needs, and its window.
struct FeatureEntry {
    QString menuText;
    const FeatureCheck* check = nullptr;
    void (*open)(const FeatureContext& context) = nullptr;
};

// The Setup menu's features in menu order.
std::vector<FeatureEntry> FeatureEntries();

// Opens a feature as the Setup menu does: while the link is held, the instrument check with its
// wait cursor, detached output and message; then the feature itself, with what other features
// offer it bound in.
void LaunchFeature(const FeatureEntry& entry, const FeatureContext& context);

}  // namespace brennix
