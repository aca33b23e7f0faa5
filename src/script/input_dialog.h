#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "platform/ui_host.h"

namespace brennix {

// The script language's Input dialog: one row per input function (label + edit box, label + list,
// or check box), laid out top to bottom, with OK below the rows.
class CDlgInput : public QDialog {
    Q_OBJECT
public:
    CDlgInput(const std::vector<InputRow>& rows, QWidget* parent = nullptr);
    // One result per row, read when OK was pressed.
    const std::vector<std::string>& Results() const;
};

}  // namespace brennix
