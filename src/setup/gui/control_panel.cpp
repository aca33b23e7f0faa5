#include "setup/gui/control_panel.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/qt_text.h"
#include "setup/control_table.h"
#include "setup/page_content.h"
#include "setup/setup_texts.h"

namespace brennix {

namespace {

constexpr char kUnrepresentable = 0x7F;
constexpr const char* kStartOnFormat = "yyyy'/'MM'/'dd' , 'HH':'mm':'ss";

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

CControlPanel::CControlPanel(std::function<SetupSheet&()> sheet, UnitSystem units, ControlHome home,
                             QWidget* parent)
    : QWidget(parent), sheet_(std::move(sheet)), units_(units), layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    QFormLayout* form = nullptr;
    std::string_view group = "-";
    for (const ControlSpec* spec : ShownOrder(home)) {
        if (form == nullptr || spec->group != group) {
            group = spec->group;
            auto* box = new QGroupBox(Latin1Text(group), this);
            form = new QFormLayout(box);
            layout_->addWidget(box);
        }
        if (spec->control != SetupControl::kStartTime) {
            AddControl(form, spec->control);
        }
    }
}

QWidget* CControlPanel::AddControl(QFormLayout* form, SetupControl control) {
    const ControlSpec& spec = SpecOf(control);
    QWidget* widget = nullptr;
    if (control == SetupControl::kStartDate) {
        widget = AddStartOn();
    } else if (!spec.entries.empty()) {
        auto* list = new QComboBox(this);
        connect(list, &QComboBox::activated, this, [this, control, list](int) {
            Sheet().SetValue(control, ToEightBit(list->currentText()));
            ValueChanged(control);
        });
        widget = list;
    } else {
        auto* edit = new QLineEdit(this);
        connect(edit, &QLineEdit::textEdited, this, [this, control](const QString& text) {
            Sheet().SetValue(control, ToEightBit(text));
            ValueChanged(control);
        });
        widget = edit;
    }
    auto* label = new QLabel(Latin1Text(ControlLabel(control, units_)), this);
    form->addRow(label, widget);
    widget->setObjectName(Latin1Text(spec.name));
    label->setBuddy(widget);
    widgets_[control] = widget;
    labels_[control] = label;
    return widget;
}

QDateTimeEdit* CControlPanel::AddStartOn() {
    auto* picker = new QDateTimeEdit(this);
    picker->setDisplayFormat(kStartOnFormat);
    connect(picker, &QDateTimeEdit::dateTimeChanged, this, [this, picker](const QDateTime& chosen) {
        // Stepped back onto "not set": the sheet holds again what the instrument holds.
        const bool unset =
            !picker->specialValueText().isEmpty() && chosen == picker->minimumDateTime();
        for (const auto& [control, format] : {std::pair{SetupControl::kStartDate, "yyyy/MM/dd"},
                                              std::pair{SetupControl::kStartTime, "HH:mm:ss"}}) {
            Sheet().SetValue(control,
                             unset ? Sheet().Shown(control) : ToEightBit(chosen.toString(format)));
        }
        ValueChanged(SetupControl::kStartDate);
    });
    return picker;
}

void CControlPanel::ShowValues() {
    for (const auto& [control, widget] : widgets_) {
        ShowValue(control);
    }
    ShowStates();
}

void CControlPanel::ShowValue(SetupControl control) {
    const auto it = widgets_.find(control);
    if (it == widgets_.end()) {
        return;
    }
    QWidget* widget = it->second;
    const QSignalBlocker blocker(widget);
    const QString value = Latin1Text(Sheet().Value(control));
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(value);
        edit->setCursorPosition(0);
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        list->clear();
        for (const std::string_view entry : Sheet().Choices(control)) {
            list->addItem(Latin1Text(entry));
        }
        list->setCurrentIndex(list->findText(value));
    } else if (control == SetupControl::kStartDate) {
        ShowStartOn();
    }
}

// A start the picker cannot hold (an instrument never set up holds 0000/00/00) is shown as the
// instrument holds it, "not set", and the sheet keeps it until the technician picks another;
// the first step from it lands on today, where a start is likely to be chosen.
void CControlPanel::ShowStartOn() {
    auto* picker = qobject_cast<QDateTimeEdit*>(widgets_.at(SetupControl::kStartDate));
    const std::string& heldDate = Sheet().Value(SetupControl::kStartDate);
    const std::string& heldTime = Sheet().Value(SetupControl::kStartTime);
    const QDate date = QDate::fromString(Latin1Text(heldDate), "yyyy/MM/dd");
    const QTime time = QTime::fromString(Latin1Text(heldTime), "HH:mm:ss");
    if (date.isValid() && time.isValid()) {
        picker->setSpecialValueText({});
        picker->clearMinimumDateTime();
        picker->setDateTime(QDateTime(date, time));
        return;
    }
    picker->setMinimumDateTime(QDateTime(QDate::currentDate(), QTime(0, 0)));
    picker->setSpecialValueText(Latin1Text(UnsetStartOnText(heldDate, heldTime)));
    picker->setDateTime(picker->minimumDateTime());
}

void CControlPanel::ShowStates() {
    for (const auto& [control, widget] : widgets_) {
        widget->setEnabled(Sheet().Enabled(control));
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            SetReadOnly(edit, Sheet().ReadOnly(control));
        }
        // A greyed control says why, over itself and over its label alike.
        const QString locked = Latin1Text(LockedText(Sheet(), control));
        for (QWidget* carrier : {widget, static_cast<QWidget*>(labels_.at(control))}) {
            carrier->setToolTip(locked);
            carrier->setStatusTip(locked);
        }
    }
}

void CControlPanel::ValueChanged(SetupControl) {
    ShowStates();
}

bool CControlPanel::Focus(const Refusal& refusal) {
    const SetupControl control =
        refusal.control == SetupControl::kStartTime ? SetupControl::kStartDate : refusal.control;
    const auto it = widgets_.find(control);
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
