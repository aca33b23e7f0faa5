#pragma once

#include <QDialog>
#include <optional>

#include "setup/setup_sheet.h"

namespace brennix {

class CControlPanel;

// "Deploy" with its "SDI-12 Settings": the SDI-12 address, output format and unit system to
// write before an SDI-12 deployment starts. Deploy closes it with Accepted and the setup service
// writes what changed; a refusal brings it back on the control concerned; Cancel writes nothing.
class CDlgSdi12Deploy : public QDialog {
    Q_OBJECT
  public:
    // The sheet's SDI-12 controls are loaded before it is built.
    CDlgSdi12Deploy(SetupSheet& sheet, UnitSystem units, QWidget* parent = nullptr);

    // The focus on the control a refusal names, once the dialog shows.
    void FocusOn(const Refusal& refusal);

  private:
    CControlPanel* panel_ = nullptr;
};

}  // namespace brennix
