#include "setup/setup_page.h"

#include "setup/deployment.h"
#include "setup/sheet_busy.h"

namespace brennix {

CSetupPage::CSetupPage(SetupSheet& sheet, SetupPage page, QWidget* parent)
    : CControlPanel(sheet, parent), page_(page) {}

void CSetupPage::Enter() {
    {
        const SheetBusy busy(Sheet().Ui(), Sheet().Instrument().GetLink());
        Sheet().ShowPage(page_);
    }
    ShowValues();
}

bool CSetupPage::Leave() {
    std::optional<Refusal> refusal;
    {
        const SheetBusy busy(Sheet().Ui(), Sheet().Instrument().GetLink());
        refusal = Sheet().LeavePage(page_);
    }
    if (!refusal) {
        return true;
    }
    ShowRefusal(Sheet().Ui(), *refusal);
    Focus(*refusal);
    return false;
}

}  // namespace brennix
