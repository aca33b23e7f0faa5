#include "setup/gui/sdi12_deploy_dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "setup/gui/control_panel.h"

namespace brennix {

CDlgSdi12Deploy::CDlgSdi12Deploy(SetupSheet& sheet, UnitSystem units, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Deploy");
    panel_ = new CControlPanel([&sheet]() -> SetupSheet& { return sheet; }, units,
                               ControlHome::kSdi12Dialog, this);
    panel_->ShowValues();
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* deploy = buttons->addButton("Deploy", QDialogButtonBox::AcceptRole);
    deploy->setObjectName("deploy");
    deploy->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel_);
    layout->addWidget(buttons);
}

void CDlgSdi12Deploy::FocusOn(const Refusal& refusal) {
    panel_->Focus(refusal);
}

}  // namespace brennix
