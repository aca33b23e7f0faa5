#pragma once

#include <QDialog>

#include "setup/setup_sheet.h"

namespace brennix {

class CControlPanel;

// "Deploy" with its "SDI-12 Settings": the SDI-12 address, output format and unit system to
// write before an SDI-12 deployment starts. Deploy writes what changed and closes with Accepted;
// a refusal keeps it open on the control concerned; Cancel writes nothing.
class CDlgSdi12Deploy : public QDialog {
    Q_OBJECT
  public:
    // The sheet's SDI-12 controls are loaded (SetupSheet::OpenSdi12Dialog) before it is built.
    CDlgSdi12Deploy(SetupSheet& sheet, QWidget* parent = nullptr);

  private:
    void OnDeploy();

    SetupSheet& sheet_;
    CControlPanel* panel_ = nullptr;
};

}  // namespace brennix
