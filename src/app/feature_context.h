#pragma once

#include <QWidget>

#include "platform/ui_host.h"
#include "session/session.h"
#include "session/unit_system.h"

namespace brennix {

// What a feature's window gets from the terminal when the Setup menu opens it: its parent, the
// session whose instrument (and link) it borrows, the window thread's UiHost, the unit system,
// and the instrument code the menu's check found.
struct FeatureContext {
    QWidget* parent = nullptr;
    CSession& session;
    UiHost& ui;
    UnitSystem units = UnitSystem::kEnglish;
    int model = 0;
};

}  // namespace brennix
