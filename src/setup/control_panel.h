#pragma once

#include <QWidget>
#include <map>

#include "setup/setup_controls.h"
#include "setup/setup_sheet.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace brennix {

// Widgets that show the setup sheet's controls and hand everything the technician types or picks
// straight to the sheet, so the rules, the days and the speed of sound always see what the
// window shows. The pages and the SDI-12 deployment dialog are made of one each.
class CControlPanel : public QWidget {
    Q_OBJECT
  public:
    explicit CControlPanel(SetupSheet& sheet, QWidget* parent = nullptr);

    // Gives the focus to the control a refusal names, if it is here.
    bool Focus(const Refusal& refusal);
    // Sheet → widgets, without the widgets' change notifications; then the states.
    void ShowValues();

    // The name each control's widget carries, for tests and screenshots.
    static QString ObjectName(SetupControl control);

  protected:
    QLineEdit* AddEdit(QFormLayout* form, SetupControl control);
    QComboBox* AddList(QFormLayout* form, SetupControl control);
    // The enabled and read-only states as the sheet's rules have them now.
    void ShowStates();
    // Called after the technician changed a control's value.
    virtual void ValueChanged(SetupControl control);
    SetupSheet& Sheet() { return sheet_; }
    // A widget of the page's own making that shows control (focus, states, label).
    void Bind(SetupControl control, QWidget* widget, QLabel* label);

  private:
    SetupSheet& sheet_;
    std::map<SetupControl, QWidget*> widgets_;
    std::map<SetupControl, QLabel*> labels_;
};

// Makes an edit read-only and shows it so: a read-only edit takes the window's background, as
// the technician would otherwise type into it and see nothing happen.
void SetReadOnly(QLineEdit* edit, bool readOnly);

// The 8-bit text the instrument gets for what a widget holds. A character that 8-bit text cannot
// carry becomes DEL, which every rule refuses, rather than a '?' the instrument would take.
std::string ToEightBit(const QString& text);
QString FromEightBit(const std::string& text);

}  // namespace brennix
