#include "desktop/feature_launcher.h"

#include "compass/compass_dialog.h"
#include "diagnostics/echolux_dialog.h"
#include "link/link_lease.h"
#include "recorder/recorder_dialog.h"
#include "recorder/recorder_space.h"
#include "setup/setup_dialog.h"

namespace brennix {

std::vector<FeatureEntry> FeatureEntries() {
    return {
        {"&Deployment", &feature_checks::kDeployment, OpenSetup},
        {"&Recorder", &feature_checks::kRecorder, &RunRecorderManager},
        {"&Compass", &feature_checks::kCompass, &RunCompassCalibration},
        {"Diagnostics", &feature_checks::kDiagnostics, &RunEcholux},
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
    opened.readRecorderFreeBytes = &ReadRecorderFreeBytes;
    opened.openRecorderManager = [context](QWidget* parent) {
        FeatureContext over = context;
        over.parent = parent;
        RunRecorderManager(over);
    };
    entry.open(opened);
}

}  // namespace brennix
