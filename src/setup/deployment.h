#pragma once

#include <cstdint>

#include "setup/setup_controls.h"
#include "setup/setup_sheet.h"

namespace brennix {

// What the deployment sequence asks of the sheet's windows: the desktop's tabs and dialog, or
// the console's stand-ins for them.
class SetupSheetHost {
  public:
    virtual ~SetupSheetHost() = default;
    // Makes the page the active one (it loads as its activation does); nothing when it already is.
    virtual void ActivatePage(SetupPage page) = 0;
    // Gives the focus to the control a refusal names.
    virtual void FocusControl(const Refusal& refusal) = 0;
    // Runs the SDI-12 deployment dialog on the sheet's SDI-12 controls (already loaded); true when
    // it ended with its Deploy button, its settings written.
    virtual bool RunSdi12Dialog() = 0;
};

enum class DeploymentMode { kStandard = 0, kSdi12 = 1 };

// Below this many free bytes the recorder is too full to deploy.
inline constexpr uint64_t kMinFreeRecorderBytes = 64000;

// Shows a refusal as the pages do: a page rule in the application's box, the instrument's reply
// as "Invalid input" with the stop icon.
void ShowRefusal(UiHost& ui, const Refusal& refusal);

// Saves every page in tab order, each made active first; then "SaveSetup" when anything was
// taken and a flush of the line. False, with the failing page active and its control focused,
// when a page's save fails.
bool ApplyAllPages(SetupSheet& sheet, SetupSheetHost& host);

// The Deploy button: the instrument must answer as a Mirovan, the Deploy page must pass its
// rules, every page is applied, then the chosen mode's commands start the deployment. True when
// the deployment started and the technician was told to disconnect.
bool DeployFromSheet(SetupSheet& sheet, SetupSheetHost& host);

// The mode's command sequence after the recorder check.
bool RunDeployment(SetupSheet& sheet, SetupSheetHost& host, int mode);

}  // namespace brennix
