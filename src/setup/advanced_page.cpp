#include "setup/advanced_page.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace brennix {

CDlgMrvAdvanced::CDlgMrvAdvanced(SetupSheet& sheet, QWidget* parent)
    : CSetupPage(sheet, SetupPage::kAdvanced, parent) {
    auto* soundSpeed = new QGroupBox("Sound Speed Settings:", this);
    auto* soundForm = new QFormLayout(soundSpeed);
    AddList(soundForm, SetupControl::kTempMode);
    AddEdit(soundForm, SetupControl::kTemperature);
    AddEdit(soundForm, SetupControl::kSalinity);
    AddEdit(soundForm, SetupControl::kSoundSpeed);

    auto* processing = new QGroupBox(this);
    auto* processingForm = new QFormLayout(processing);
    AddList(processingForm, SetupControl::kWaveSpectra);
    AddEdit(processingForm, SetupControl::kWaterDepth);
    AddList(processingForm, SetupControl::kDataFormat);
    AddList(processingForm, SetupControl::kDynBoundAdj);
    AddList(processingForm, SetupControl::kCoordSystem);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(soundSpeed);
    layout->addWidget(processing);
    layout->addStretch();
}

void CDlgMrvAdvanced::ValueChanged(SetupControl control) {
    CSetupPage::ValueChanged(control);
    auto* speed = findChild<QLineEdit*>(ObjectName(SetupControl::kSoundSpeed));
    const QSignalBlocker blocker(speed);
    speed->setText(FromEightBit(Sheet().Value(SetupControl::kSoundSpeed)));
}

}  // namespace brennix
