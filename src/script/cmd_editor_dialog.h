#pragma once

#include <QDialog>

#include "instrument/instrument.h"
#include "platform/ui_host.h"

namespace brennix {

// "CMD editor": write, open, save and run a command file.
class CDlgCmdEditor : public QDialog {
    Q_OBJECT
public:
    CDlgCmdEditor(CInstrument& instrument, UiHost& ui, QWidget* parent = nullptr);
};

}  // namespace brennix
