#include "setup/sdi12_deploy_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "setup/control_panel.h"
#include "setup/deployment.h"
#include "setup/sheet_busy.h"

namespace brennix {

namespace {

// The dialog's three controls, bound to the sheet.
class Sdi12Settings : public CControlPanel {
  public:
    explicit Sdi12Settings(SetupSheet& sheet, QWidget* parent) : CControlPanel(sheet, parent) {
        auto* group = new QGroupBox("SDI-12 Settings", this);
        auto* form = new QFormLayout(group);
        AddEdit(form, SetupControl::kSdi12Address);
        AddList(form, SetupControl::kSdi12Format);
        AddList(form, SetupControl::kSdi12Units);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(group);
        ShowValues();
    }
};

}  // namespace

CDlgSdi12Deploy::CDlgSdi12Deploy(SetupSheet& sheet, QWidget* parent)
    : QDialog(parent), sheet_(sheet) {
    setWindowTitle("Deploy");
    panel_ = new Sdi12Settings(sheet, this);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* deploy = buttons->addButton("Deploy", QDialogButtonBox::AcceptRole);
    deploy->setObjectName("deploy");
    deploy->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName("cancel");
    connect(deploy, &QPushButton::clicked, this, &CDlgSdi12Deploy::OnDeploy);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel_);
    layout->addWidget(buttons);
}

void CDlgSdi12Deploy::OnDeploy() {
    std::optional<Refusal> refusal;
    {
        const SheetBusy busy(sheet_.Ui(), sheet_.Instrument().GetLink());
        refusal = sheet_.SaveSdi12Dialog();
    }
    if (!refusal) {
        accept();
        return;
    }
    ShowRefusal(sheet_.Ui(), *refusal);
    panel_->Focus(*refusal);
}

}  // namespace brennix
