#pragma once

#include "setup/control_panel.h"

namespace brennix {

// One of the setup sheet's pages with controls (Deploy, Advanced): loaded each time it becomes
// the active page, checked and saved each time it is left.
class CSetupPage : public CControlPanel {
    Q_OBJECT
  public:
    CSetupPage(SetupSheet& sheet, SetupPage page, QWidget* parent = nullptr);

    SetupPage Page() const { return page_; }
    // The sheet loads the page (the first time it also initialises) and the widgets show it.
    virtual void Enter();
    // The page's checks and save, with their messages; false keeps the page.
    bool Leave();

  private:
    SetupPage page_;
};

}  // namespace brennix
