#pragma once

#include <QDialog>
#include <QPointer>
#include <optional>

#include "desktop_ui/qt_job_relay.h"
#include "instrument/bus_scan_job.h"
#include "link/link_lease.h"
#include "platform/job.h"

#include "link/connect_search.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/settings.h"
#include "platform/ui_host.h"

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace brennix {

// "Brennix: Connect to": choose port and rate (either may be "Auto") and the RS-485 address.
// The search runs as a job, so the window stays alive, and Cancel stops it. With RS-485 chosen
// (an address other than 0), Scan lists every instrument on the bus at the chosen port and
// rate, also as a job; choosing one fills in its address.
class CDlgConnect : public QDialog, private BusScanListener {
    Q_OBJECT
  public:
    // A simulatorPort adds the built-in simulated instrument of that name to the port list. The
    // last good connection is kept in settings.
    CDlgConnect(CSerialLink& link, Clock& clock, UiHost& ui, Settings& settings,
                const QString& simulatorPort, QWidget* parent = nullptr);
    // Shows this port and rate instead of the saved ones: the port the program is connected to,
    // or was started with. A port the system does not list stands typed in.
    void ChoosePort(const std::string& port, uint32_t rate);
    // The search probed an instrument at some port and rate (whether or not it then answered).
    bool Probed() const;
    int Rs485Address() const;
    bool Searching() const { return searching_; }
    // Chooses port with the rate "Auto" and starts that search once the dialog runs.
    void SearchRateOf(const QString& port);

  public slots:
    // Connect: opens the chosen port, searching where "Auto" was chosen.
    void accept() override;
    // Cancel: stops a running search; without one, closes the dialog.
    void reject() override;

  private:
    void CreateControls();
    QLayout* CreateScanControls();
    void FillPorts();
    void FillRates();
    void RestoreChoices();
    // The port to open: the chosen entry's name, or what the user typed.
    QString ChosenPort() const;
    std::vector<std::string> AutoPorts() const;
    void StartSearch(const QString& port, uint32_t rate);
    // Scan: opens the chosen port (a named one, at a named rate), then scans the bus.
    void Scan();
    void StartScan();
    void OnScanning(uint32_t address) override;
    void OnEntry(const BusScanEntry& entry) override;
    void OnScanEnded(bool stopped) override;
    void ChooseInstrument(QTreeWidgetItem* item);
    void UpdateScanButton();
    // Back on the window thread once the search job has ended.
    void SearchEnded(bool connected);
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
    QPushButton* scanButton_ = nullptr;
    QTreeWidget* instruments_ = nullptr;
    bool probed_ = false;
    bool searching_ = false;
    bool scanAfterConnect_ = false;
    int instrumentsFound_ = 0;
    int addressesAnswering_ = 0;
    int chosenAddress_ = 0;
    int rs485Address_ = 0;
    QPointer<QWidget> focusBeforeSearch_;
    std::optional<LinkLease> lease_;
    QtJobRelay relay_;
    BusScanJob scanJob_;
    Job job_;  // last: joined before the rest goes
};

}  // namespace brennix
