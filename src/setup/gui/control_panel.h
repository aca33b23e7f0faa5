#pragma once

#include <QWidget>
#include <functional>
#include <map>

#include "instrument/unit_system.h"
#include "setup/setup_controls.h"
#include "setup/setup_sheet.h"

class QComboBox;
class QDateTimeEdit;
class QFormLayout;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace brennix {

// The widgets of one home's controls, built from the control table in the order and groups it
// gives, showing the setup sheet and handing everything the technician types or picks straight to
// it, so the rules, the days and the speed of sound always see what the window shows. The pages
// and the SDI-12 deployment dialog are made of one each. The sheet is reached through sheet(),
// as it exists only once the configuration was read.
class CControlPanel : public QWidget {
    Q_OBJECT
  public:
    CControlPanel(std::function<SetupSheet&()> sheet, UnitSystem units, ControlHome home,
                  QWidget* parent = nullptr);

    // Gives the focus to the control a refusal names, if it is here.
    bool Focus(const Refusal& refusal);
    // Sheet → widgets, without the widgets' change notifications; then the states.
    void ShowValues();

  protected:
    QVBoxLayout* Layout() { return layout_; }
    // Called after the technician changed a control's value.
    virtual void ValueChanged(SetupControl control);
    SetupSheet& Sheet() { return sheet_(); }
    // Shows one control's value again (a value the sheet works out, as the speed of sound).
    void ShowValue(SetupControl control);

  private:
    QWidget* AddControl(QFormLayout* form, SetupControl control);
    QDateTimeEdit* AddStartOn();
    // The enabled and read-only states as the sheet's rules have them now.
    void ShowStates();
    void ShowStartOn();

    std::function<SetupSheet&()> sheet_;
    UnitSystem units_;
    QVBoxLayout* layout_;
    std::map<SetupControl, QWidget*> widgets_;
    std::map<SetupControl, QLabel*> labels_;
};

// Makes an edit read-only and shows it so: a read-only edit takes the window's background, as
// the technician would otherwise type into it and see nothing happen.
void SetReadOnly(QLineEdit* edit, bool readOnly);

// The 8-bit text the instrument gets for what a widget holds. A character that 8-bit text cannot
// carry becomes DEL, which every rule refuses, rather than a '?' the instrument would take.
std::string ToEightBit(const QString& text);

}  // namespace brennix
