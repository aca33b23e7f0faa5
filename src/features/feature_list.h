#pragma once

#include "compass/compass_feature.h"
#include "diagnostics/diagnostics_feature.h"
#include "recorder/recorder_feature.h"
#include "setup/setup_feature.h"

namespace brennix {

template <typename... Feature>
struct FeatureList {
    // Calls visit.template operator()<F>() for each feature F, in order.
    template <typename Visitor>
    static void ForEach(Visitor&& visit) {
        (visit.template operator()<Feature>(), ...);
    }
};

// Every feature of the Setup menu and of brennix-cli, in menu order. A feature is a folder with
// its core (its service and the type named here: menu text and instrument check) and its _gui
// library; adding one is its folder and its entry here. Each front end binds every entry to its
// own view, the desktop with OpenFeatureWindow<F> (desktop/feature_context.h) and brennix-cli
// with ConsoleCommands<F> (cli/cli_command.h), so a feature either front end lacks fails to link.
using Features = FeatureList<SetupFeature, RecorderFeature, CompassFeature, DiagnosticsFeature>;

}  // namespace brennix
