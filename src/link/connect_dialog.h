#pragma once

#include <QDialog>

#include "link/connect_search.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/settings.h"
#include "platform/ui_host.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brennix {

// "Brennix: Connect to": choose port and rate (either may be "Auto") and the RS-485 address.
// The search runs without freezing the window and can be cancelled.
class CDlgConnect : public QDialog {
    Q_OBJECT
  public:
    // A simulatorPort adds the built-in simulated instrument of that name to the port list. The
    // last good connection is kept in settings.
    CDlgConnect(CSerialLink& link, Clock& clock, UiHost& ui, Settings& settings,
                const QString& simulatorPort, QWidget* parent = nullptr);
    // The search probed an instrument at some port and rate (whether or not it then answered).
    bool Probed() const;
    int Rs485Address() const;
    bool Searching() const { return searching_; }

  public slots:
    // Connect: opens the chosen port, searching where "Auto" was chosen.
    void accept() override;
    // Cancel: stops a running search; without one, closes the dialog.
    void reject() override;

  private:
    void CreateControls();
    void FillPorts();
    void FillRates();
    void RestoreChoices();
    // The port to open: the chosen entry's name, or what the user typed.
    QString ChosenPort() const;
    std::vector<std::string> AutoPorts() const;
    bool Search(const QString& port, uint32_t rate);
    void SetSearching(bool searching);
    void ShowStatus(const QString& text);
    void SaveConnection();

    CSerialLink& link_;
    UiHost& ui_;
    Settings& settings_;
    CConnectSearch search_;
    QString simulatorPort_;
    QComboBox* ports_ = nullptr;
    QComboBox* rates_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* connectButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    bool probed_ = false;
    bool searching_ = false;
    int rs485Address_ = 0;
};

}  // namespace brennix
