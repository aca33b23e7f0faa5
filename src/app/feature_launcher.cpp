#include "app/feature_launcher.h"

#include "link/link_lease.h"
#include "recorder/recorder_dialog.h"

namespace brennix {

namespace {

// A row whose feature is not built yet still runs its instrument check, then says so.
std::function<void(const FeatureContext&)> NotAvailable(const char* name) {
    return [name](const FeatureContext& context) {
        context.ui.ShowMessage(std::string(name) + " is not available in this version of Brennix.",
                               "", MessageButtons::kOk, MessageIcon::kInformation);
    };
}

}  // namespace

std::vector<FeatureEntry> FeatureEntries() {
    return {
        {"&Deployment", &feature_checks::kDeployment, NotAvailable("The setup sheet")},
        {"&Recorder", &feature_checks::kRecorder, &RunRecorderManager},
        {"&Compass", &feature_checks::kCompass, NotAvailable("The compass calibration")},
        {"Diagnostics", &feature_checks::kDiagnostics, NotAvailable("Echolux")},
    };
}

void LaunchFeature(const FeatureEntry& entry, const FeatureContext& context) {
    const LinkLease lease(context.session.Link());
    const std::optional<int> model = CheckInstrumentFor(context.session, *entry.check);
    if (!model) {
        return;
    }
    FeatureContext opened = context;
    opened.model = *model;
    entry.open(opened);
}

}  // namespace brennix
