#pragma once

#include <QDialog>

#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/ui_host.h"

namespace brennix {

// "Brennix: Connect to": choose port and rate (either may be "Auto") and the RS-485 address.
// The search runs without freezing the window and can be cancelled.
class CDlgConnect : public QDialog {
    Q_OBJECT
  public:
    // offerSimulator adds the built-in simulated instrument "SIM" to the port list.
    CDlgConnect(CSerialLink& link, Clock& clock, UiHost& ui, bool offerSimulator,
                QWidget* parent = nullptr);
    // The search probed an instrument at some port and rate (whether or not it then answered).
    bool Probed() const;
    int Rs485Address() const;
};

}  // namespace brennix
