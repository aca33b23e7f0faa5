#include "setup/deploy_page.h"

#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace brennix {

namespace {

constexpr const char* kStartOnFormat = "yyyy'/'MM'/'dd' , 'HH':'mm':'ss";

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CDlgMrvDeploy::CDlgMrvDeploy(SetupSheet& sheet, QWidget* parent)
    : CSetupPage(sheet, SetupPage::kDeploy, parent) {
    auto* settings = new QGroupBox("User settings", this);
    auto* settingsForm = new QFormLayout(settings);
    AddEdit(settingsForm, SetupControl::kAveragingInterval);
    AddEdit(settingsForm, SetupControl::kSamplingInterval);
    AddEdit(settingsForm, SetupControl::kCellBegin);
    AddEdit(settingsForm, SetupControl::kCellEnd);

    auto* deployment = new QGroupBox("Deployment", this);
    auto* deploymentForm = new QFormLayout(deployment);
    AddEdit(deploymentForm, SetupControl::kFileName);
    startOn_ = new QDateTimeEdit(this);
    startOn_->setDisplayFormat(kStartOnFormat);
    auto* startLabel = new QLabel("Start on:", this);
    deploymentForm->addRow(startLabel, startOn_);
    Bind(SetupControl::kStartDate, startOn_, startLabel);
    connect(startOn_, &QDateTimeEdit::dateTimeChanged, this, [this] { TakeStartOn(); });
    AddList(deploymentForm, SetupControl::kMode);

    days_ = new QLabel("0.0 days of operation remaining", this);
    days_->setObjectName("days");

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

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(settings);
    layout->addWidget(deployment);
    layout->addWidget(days_);
    layout->addStretch();
    layout->addLayout(buttons);
}

void CDlgMrvDeploy::Enter() {
    CSetupPage::Enter();
    ShowStartOn();
    ShowDays();
}

QString CDlgMrvDeploy::DaysText() const {
    return days_->text();
}

void CDlgMrvDeploy::ValueChanged(SetupControl control) {
    CSetupPage::ValueChanged(control);
    if (control == SetupControl::kAveragingInterval || control == SetupControl::kSamplingInterval) {
        ShowDays();
    }
}

// A record whose date or time the picker cannot hold leaves the picker where it is, and the
// sheet keeps the record's value until the technician picks another.
void CDlgMrvDeploy::ShowStartOn() {
    const QDate date =
        QDate::fromString(FromEightBit(Sheet().Value(SetupControl::kStartDate)), "yyyy/MM/dd");
    const QTime time =
        QTime::fromString(FromEightBit(Sheet().Value(SetupControl::kStartTime)), "HH:mm:ss");
    if (date.isValid() && time.isValid()) {
        const QSignalBlocker blocker(startOn_);
        startOn_->setDateTime(QDateTime(date, time));
    }
}

void CDlgMrvDeploy::TakeStartOn() {
    const QDateTime chosen = startOn_->dateTime();
    Sheet().SetValue(SetupControl::kStartDate, ToEightBit(chosen.date().toString("yyyy/MM/dd")));
    Sheet().SetValue(SetupControl::kStartTime, ToEightBit(chosen.time().toString("HH:mm:ss")));
}

void CDlgMrvDeploy::ShowDays() {
    days_->setText(FromEightBit(Sheet().DaysRemaining()));
}

}  // namespace brennix
