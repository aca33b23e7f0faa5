#include "setup/control_panel.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "setup/page_content.h"

namespace brennix {

namespace {

constexpr char kUnrepresentable = 0x7F;

}  // namespace

std::string ToEightBit(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) {
        bytes += c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : kUnrepresentable;
    }
    return bytes;
}

void SetReadOnly(QLineEdit* edit, bool readOnly) {
    edit->setReadOnly(readOnly);
    QPalette palette = edit->palette();
    const QPalette standard = QApplication::palette(edit);
    palette.setColor(QPalette::Base, standard.color(readOnly ? QPalette::Window : QPalette::Base));
    edit->setPalette(palette);
}

QString FromEightBit(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString CControlPanel::ObjectName(SetupControl control) {
    switch (control) {
        case SetupControl::kAveragingInterval:
            return "averagingInterval";
        case SetupControl::kSamplingInterval:
            return "samplingInterval";
        case SetupControl::kCellBegin:
            return "cellBegin";
        case SetupControl::kCellEnd:
            return "cellEnd";
        case SetupControl::kFileName:
            return "fileName";
        case SetupControl::kStartDate:
        case SetupControl::kStartTime:
            return "startOn";
        case SetupControl::kMode:
            return "mode";
        case SetupControl::kTempMode:
            return "tempMode";
        case SetupControl::kTemperature:
            return "temperature";
        case SetupControl::kSalinity:
            return "salinity";
        case SetupControl::kSoundSpeed:
            return "soundSpeed";
        case SetupControl::kWaveSpectra:
            return "waveSpectra";
        case SetupControl::kWaterDepth:
            return "waterDepth";
        case SetupControl::kDataFormat:
            return "dataFormat";
        case SetupControl::kDynBoundAdj:
            return "dynBoundAdj";
        case SetupControl::kCoordSystem:
            return "coordSystem";
        case SetupControl::kSdi12Address:
            return "sdi12Address";
        case SetupControl::kSdi12Format:
            return "sdi12Format";
        case SetupControl::kSdi12Units:
            return "sdi12Units";
    }
    return {};
}

CControlPanel::CControlPanel(SetupSheet& sheet, QWidget* parent) : QWidget(parent), sheet_(sheet) {}

QLineEdit* CControlPanel::AddEdit(QFormLayout* form, SetupControl control) {
    auto* edit = new QLineEdit(this);
    auto* label = new QLabel(FromEightBit(ControlLabel(control, sheet_.Units())), this);
    form->addRow(label, edit);
    connect(edit, &QLineEdit::textEdited, this, [this, control](const QString& text) {
        sheet_.SetValue(control, ToEightBit(text));
        ValueChanged(control);
    });
    Bind(control, edit, label);
    return edit;
}

QComboBox* CControlPanel::AddList(QFormLayout* form, SetupControl control) {
    auto* list = new QComboBox(this);
    auto* label = new QLabel(FromEightBit(ControlLabel(control, sheet_.Units())), this);
    form->addRow(label, list);
    connect(list, &QComboBox::activated, this, [this, control, list](int) {
        sheet_.SetValue(control, ToEightBit(list->currentText()));
        ValueChanged(control);
    });
    Bind(control, list, label);
    return list;
}

void CControlPanel::Bind(SetupControl control, QWidget* widget, QLabel* label) {
    widget->setObjectName(ObjectName(control));
    label->setBuddy(widget);
    widgets_[control] = widget;
    labels_[control] = label;
}

void CControlPanel::ShowValues() {
    for (const auto& [control, widget] : widgets_) {
        const QSignalBlocker blocker(widget);
        labels_[control]->setText(FromEightBit(ControlLabel(control, sheet_.Units())));
        const QString value = FromEightBit(sheet_.Value(control));
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->setText(value);
            edit->setCursorPosition(0);
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            list->clear();
            for (const std::string_view entry : sheet_.Choices(control)) {
                list->addItem(FromEightBit(std::string(entry)));
            }
            list->setCurrentIndex(list->findText(value));
        }
    }
    ShowStates();
}

void CControlPanel::ShowStates() {
    for (const auto& [control, widget] : widgets_) {
        widget->setEnabled(sheet_.Enabled(control));
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            SetReadOnly(edit, sheet_.ReadOnly(control));
        }
    }
}

void CControlPanel::ValueChanged(SetupControl) {
    ShowStates();
}

bool CControlPanel::Focus(const Refusal& refusal) {
    const auto it = widgets_.find(refusal.control);
    if (it == widgets_.end()) {
        return false;
    }
    it->second->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(it->second); edit && refusal.selectText) {
        edit->selectAll();
    }
    return true;
}

}  // namespace brennix
