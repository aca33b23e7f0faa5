#include "setup/gui/deploy_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt_text.h"

namespace brennix {

namespace {

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CDlgMrvDeploy::CDlgMrvDeploy(std::function<SetupSheet&()> sheet, UnitSystem units, QWidget* parent)
    : CControlPanel(std::move(sheet), units, ControlHome::kDeployPage, parent) {
    days_ = new QLabel("0.0 days of operation remaining", this);
    days_->setObjectName("days");
    recordNote_ = new QLabel(this);
    recordNote_->setObjectName("recordNote");
    recordNote_->hide();

    // Not the default button: Enter closes the sheet, it never starts a deployment.
    auto* deploy = Button("Deploy", "deploy", this);
    auto* recorder = Button("Recorder", "recorder", this);
    auto* close = Button("Close", "close", this);
    connect(deploy, &QPushButton::clicked, this, &CDlgMrvDeploy::deployClicked);
    connect(recorder, &QPushButton::clicked, this, &CDlgMrvDeploy::recorderClicked);
    connect(close, &QPushButton::clicked, this, &CDlgMrvDeploy::closeClicked);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(deploy);
    buttons->addWidget(recorder);
    buttons->addStretch();
    buttons->addWidget(close);

    Layout()->addWidget(days_);
    Layout()->addWidget(recordNote_);
    Layout()->addStretch();
    Layout()->addLayout(buttons);
}

void CDlgMrvDeploy::Show() {
    ShowValues();
    ShowDays();
}

QString CDlgMrvDeploy::DaysText() const {
    return days_->text();
}

void CDlgMrvDeploy::ShowRecordNote(const QString& text) {
    recordNote_->setText(text);
    recordNote_->show();
}

void CDlgMrvDeploy::ValueChanged(SetupControl control) {
    CControlPanel::ValueChanged(control);
    if (control == SetupControl::kAveragingInterval || control == SetupControl::kSamplingInterval) {
        ShowDays();
    }
}

void CDlgMrvDeploy::ShowDays() {
    days_->setText(Latin1Text(Sheet().DaysRemaining()));
}

CDlgMrvAdvanced::CDlgMrvAdvanced(std::function<SetupSheet&()> sheet, UnitSystem units,
                                 QWidget* parent)
    : CControlPanel(std::move(sheet), units, ControlHome::kAdvancedPage, parent) {
    Layout()->addStretch();
}

void CDlgMrvAdvanced::ValueChanged(SetupControl control) {
    CControlPanel::ValueChanged(control);
    ShowValue(SetupControl::kSoundSpeed);
}

}  // namespace brennix
