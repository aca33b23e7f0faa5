#include "desktop/feature_launcher.h"

#include "features/feature_list.h"
#include "link/link_hold.h"
#include "link/link_lease.h"

namespace brennix {

std::vector<FeatureEntry> FeatureEntries() {
    std::vector<FeatureEntry> entries;
    Features::ForEach([&entries]<typename Feature>() {
        entries.push_back({Feature::kMenuText, &Feature::kCheck, &OpenFeatureWindow<Feature>});
    });
    return entries;
}

void LaunchFeature(const FeatureEntry& entry, const FeatureContext& context) {
    // The terminal stays away while the window is open; the check is work on the line.
    const LinkHold hold(context.session.Link());
    std::optional<int> model;
    {
        const LinkLease check(context.session.Link());
        model = CheckInstrumentFor(context.session, *entry.check);
    }
    if (!model) {
        return;
    }
    FeatureContext opened = context;
    opened.model = *model;
    opened.openRecorderManager = [context](QWidget* parent) {
        FeatureContext over = context;
        over.parent = parent;
        OpenFeatureWindow<RecorderFeature>(over);
    };
    entry.open(opened);
}

}  // namespace brennix
