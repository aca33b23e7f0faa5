#pragma once

#include <QWidget>
#include <functional>

#include "desktop_ui/qt_ui_host.h"
#include "instrument/unit_system.h"
#include "link/detached_output.h"
#include "platform/settings.h"
#include "script/session.h"

namespace brennix {

// What a feature's window gets from the terminal when the Setup menu opens it: its parent, the
// session whose instrument (and link) it borrows, the window thread's UiHost, the unit system,
// and the instrument code the menu's check found.
struct FeatureContext {
    QWidget* parent = nullptr;
    CSession& session;
    QtUiHost& ui;
    Settings& settings;
    UnitSystem units = UnitSystem::kEnglish;
    int model = 0;
    // What one feature offers another, bound by the launcher, so that no feature includes
    // another: the recorder manager over a window (the setup sheet's Recorder button).
    std::function<void(QWidget* parent)> openRecorderManager = {};
};

// Opens Feature's window once its instrument check has passed (context.model holds what the
// check found). Each feature's _gui library defines it for its own feature (features/
// feature_list.h).
template <typename Feature>
void OpenFeatureWindow(const FeatureContext& context);

// A feature window that keeps its exchanges out of the terminal's pane: shown modally once its
// Open() has reached the instrument.
template <typename Dialog>
void RunDetachedWindow(const FeatureContext& context) {
    const DetachedOutput detached(context.session.Link());
    Dialog dialog(context);
    if (dialog.Open()) {
        dialog.exec();
    }
}

}  // namespace brennix
