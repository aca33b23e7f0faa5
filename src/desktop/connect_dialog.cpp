#include "desktop/connect_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>
#include <utility>

#include "link/line_rates.h"
#include "link/rs485_address.h"
#include "platform/network_port_name.h"
#include "platform/port_list.h"
#include "platform/qt_text.h"
#include "script/session_job.h"

namespace brennix {

namespace {

constexpr const char* kSimulatorDescription = "built-in simulated instrument";
constexpr const char* kNetworkDescription = "serial device server";
// How long the search's thread may take for its last steps once it has reported.
constexpr uint32_t kJobEndingMs = 1000;

// Port names, and the system's error texts about them, are in the system's 8-bit encoding.
std::string ToSystemText(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

QString FromSystemText(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

// A description that only repeats the device's name ("ttyS0" for /dev/ttyS0) is left out.
QString PortText(const QString& name, const QString& description) {
    if (description.isEmpty() || name.endsWith(description)) {
        return name;
    }
    return QString("%1  (%2)").arg(name, description);
}

}  // namespace

CDlgConnect::CDlgConnect(CSerialLink& link, Clock& clock, UiHost& ui, Settings& settings,
                         const QString& simulatorPort, QWidget* parent)
    : QDialog(parent),
      link_(link),
      ui_(ui),
      settings_(settings),
      search_(link, clock),
      simulatorPort_(simulatorPort),
      relay_(*this, clock),
      scanJob_(link, relay_, *this),
      job_(clock) {
    setWindowTitle("Brennix: Connect to");
    // Opening the dialog ends the current connection, also when it is then cancelled.
    link_.Close();
    CreateControls();
    FillPorts();
    FillRates();
    RestoreChoices();

    search_.SetStatusCallback([this](const std::string& text) {
        relay_.Post([this, text] { ShowStatus(FromSystemText(text)); });
    });
}

bool CDlgConnect::Probed() const {
    return probed_;
}

int CDlgConnect::Rs485Address() const {
    return rs485Address_;
}

void CDlgConnect::accept() {
    if (searching_) {
        return;
    }
    probed_ = false;
    const QString port = ChosenPort();
    if (port.isEmpty() || rates_->currentIndex() < 0) {
        return;
    }
    // Checked before anything is opened: a wrong address would talk to another instrument.
    const std::optional<uint32_t> address = ParseRs485Address(ToSystemText(address_->text()));
    if (!address) {
        ShowStatus(QString("RS485 address '%1' refused: %2")
                       .arg(address_->text(), QString::fromLatin1(kRs485AddressRule)));
        address_->setFocus();
        address_->selectAll();
        return;
    }
    chosenAddress_ = static_cast<int>(*address);
    StartSearch(port, rates_->currentData().toUInt());
}

void CDlgConnect::SearchRateOf(const QString& port) {
    const int listed = ports_->findData(port);
    ports_->setCurrentIndex(listed);
    if (listed < 0) {
        ports_->setEditText(port);
    }
    rates_->setCurrentIndex(rates_->findData(CConnectSearch::kAutoRate));
    QMetaObject::invokeMethod(this, &CDlgConnect::accept, Qt::QueuedConnection);
}

void CDlgConnect::SearchEnded(bool connected) {
    job_.WaitFinished(kJobEndingMs);
    lease_.reset();
    ui_.SetWaitCursor(false);
    SetSearching(false);
    if (focusBeforeSearch_) {
        focusBeforeSearch_->setFocus();
    }
    probed_ = search_.Probed();
    const bool scan = std::exchange(scanAfterConnect_, false);
    if (search_.Cancelled()) {
        // A half-finished search leaves no connection behind.
        link_.Close();
        ShowStatus("Search cancelled");
        return;
    }
    if (!connected) {
        // The reason a port would not open is worth more to the user than the bare verdict.
        const std::string& reason = search_.OpenFailure();
        ShowStatus(reason.empty() ? QString("Connect failed!")
                                  : "Connect failed! " + FromSystemText(reason));
        return;
    }
    if (scan) {
        StartScan();
        return;
    }
    rs485Address_ = chosenAddress_;
    SaveConnection();
    QDialog::accept();
}

void CDlgConnect::reject() {
    if (searching_) {
        job_.RequestStop();
        scanJob_.RequestStop();
        return;
    }
    QDialog::reject();
}

void CDlgConnect::CreateControls() {
    ports_ = new QComboBox(this);
    ports_->setObjectName("port");
    // A port the system does not list (a pseudo-terminal, say) can be typed in.
    ports_->setEditable(true);
    ports_->setInsertPolicy(QComboBox::NoInsert);
    ports_->setMinimumContentsLength(28);
    rates_ = new QComboBox(this);
    rates_->setObjectName("rate");
    address_ = new QLineEdit(this);
    address_->setObjectName("rs485");
    address_->setValidator(new QIntValidator(0, static_cast<int>(kMaxRs485Address), address_));
    address_->setMaximumWidth(address_->fontMetrics().horizontalAdvance("0000000000000"));

    auto* form = new QFormLayout;
    form->addRow("Port:", ports_);
    form->addRow("Baud rate:", rates_);
    form->addRow("RS485 address:", CreateScanControls());

    auto* warning = new QLabel(
        "Warning: Auto-detection will send a <BREAK> signal to the instrument and return it to "
        "command mode!!!",
        this);
    warning->setTextFormat(Qt::PlainText);
    warning->setWordWrap(true);

    status_ = new QLabel("Click 'Connect' to start", this);
    status_->setObjectName("status");
    status_->setFrameShape(QFrame::StyledPanel);
    status_->setFrameShadow(QFrame::Sunken);
    status_->setMargin(4);
    // Room for two lines, so a long port name neither widens the dialog nor makes it jump.
    status_->setWordWrap(true);
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    status_->setFixedHeight(2 * status_->fontMetrics().lineSpacing() + 2 * status_->margin() +
                            2 * status_->frameWidth());

    auto* buttons = new QDialogButtonBox(this);
    connectButton_ = buttons->addButton("Connect", QDialogButtonBox::AcceptRole);
    connectButton_->setObjectName("connect");
    connectButton_->setDefault(true);
    cancelButton_ = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    cancelButton_->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgConnect::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgConnect::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(instruments_);
    layout->addWidget(warning);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The address with Scan beside it, and the list a scan fills, hidden until the first scan.
QLayout* CDlgConnect::CreateScanControls() {
    scanButton_ = new QPushButton("Scan", this);
    scanButton_->setObjectName("scan");
    scanButton_->setAutoDefault(false);
    connect(scanButton_, &QPushButton::clicked, this, &CDlgConnect::Scan);
    connect(address_, &QLineEdit::textChanged, this, &CDlgConnect::UpdateScanButton);
    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(address_);
    addressRow->addWidget(scanButton_);
    addressRow->addStretch();

    instruments_ = new QTreeWidget(this);
    instruments_->setObjectName("instruments");
    instruments_->setHeaderLabels({"Address", "Model", "Version"});
    instruments_->setRootIsDecorated(false);
    instruments_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    instruments_->hide();
    connect(instruments_, &QTreeWidget::itemClicked, this, &CDlgConnect::ChooseInstrument);
    connect(instruments_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        ChooseInstrument(item);
        accept();
    });
    return addressRow;
}

void CDlgConnect::FillPorts() {
    ports_->addItem(CConnectSearch::kAutoPort, CConnectSearch::kAutoPort);
    for (const PortInfo& port : ListSerialPorts()) {
        const QString name = FromSystemText(port.name);
        ports_->addItem(PortText(name, FromSystemText(port.description)), name);
    }
    if (!simulatorPort_.isEmpty()) {
        ports_->addItem(PortText(simulatorPort_, kSimulatorDescription), simulatorPort_);
    }
}

void CDlgConnect::FillRates() {
    rates_->addItem("Auto", CConnectSearch::kAutoRate);
    for (const uint32_t rate : kLineRates) {
        rates_->addItem(QString::number(rate), rate);
    }
}

// The saved port is chosen only where it is listed under exactly its name ("/dev/ttyUSB1" is not
// "/dev/ttyUSB10"); a port that is gone leaves the port unchosen, so nothing connects by
// surprise. On a first start with the simulator on offer, a newcomer finds it chosen and sees
// the program work at once.
void CDlgConnect::RestoreChoices() {
    const std::string saved = settings_.Read(settings::kConnectPort);
    // A port on a device server is listed by nobody but the user, who chose it last time.
    if (IsNetworkPortName(saved) && ports_->findData(FromSystemText(saved)) < 0) {
        ports_->addItem(PortText(FromSystemText(saved), kNetworkDescription),
                        FromSystemText(saved));
    }
    int port = ports_->findData(FromSystemText(saved));
    if (port < 0 && !settings_.Contains(settings::kConnectPort.key) && !simulatorPort_.isEmpty()) {
        port = ports_->findData(simulatorPort_);
    }
    ports_->setCurrentIndex(port);
    if (port < 0) {
        ports_->clearEditText();
    }
    rates_->setCurrentIndex(rates_->findText(FromSystemText(settings_.Read(settings::kConnectRate)),
                                             Qt::MatchStartsWith));
    address_->setText(QString::number(settings_.Read(settings::kConnectAddress)));
    UpdateScanButton();
}

void CDlgConnect::ChoosePort(const std::string& port, uint32_t rate) {
    const int index = ports_->findData(FromSystemText(port));
    ports_->setCurrentIndex(index);
    if (index < 0) {
        ports_->setEditText(FromSystemText(port));
    }
    if (const int rateIndex = rates_->findData(rate); rateIndex >= 0) {
        rates_->setCurrentIndex(rateIndex);
    }
}

QString CDlgConnect::ChosenPort() const {
    const QString text = ports_->currentText().trimmed();
    const int index = ports_->currentIndex();
    if (index >= 0 && text == ports_->itemText(index)) {
        return ports_->itemData(index).toString();
    }
    return text;
}

std::vector<std::string> CDlgConnect::AutoPorts() const {
    std::vector<std::string> names;
    for (int i = 1; i < ports_->count(); ++i) {
        names.push_back(ToSystemText(ports_->itemData(i).toString()));
    }
    return names;
}

// Disabling the controls moves the focus away, to Cancel at last; it comes back afterwards so
// that Enter retries the connection instead of closing the dialog.
void CDlgConnect::StartSearch(const QString& port, uint32_t rate) {
    search_.SetAutoPorts(AutoPorts());
    focusBeforeSearch_ = focusWidget();
    SetSearching(true);
    ui_.SetWaitCursor(true);
    // The terminal leaves the link alone until the search has ended.
    lease_.emplace(link_);
    const std::string name = ToSystemText(port);
    const bool started = job_.Start([this, name, rate](const StopEvent& stop) {
        const bool connected = search_.Connect(name, rate, stop);
        relay_.Post([this, connected] { SearchEnded(connected); });
    });
    if (!started) {
        SearchEnded(false);
        ShowStatus(SessionJob::kCannotStart);
    }
}

// While searching only Cancel stays usable: the choices must not change under the search.
void CDlgConnect::SetSearching(bool searching) {
    searching_ = searching;
    connectButton_->setEnabled(!searching);
    ports_->setEnabled(!searching);
    rates_->setEnabled(!searching);
    address_->setEnabled(!searching);
    instruments_->setEnabled(!searching);
    UpdateScanButton();
}

// A bus is scanned through a port at a rate: both must be named.
void CDlgConnect::Scan() {
    const QString port = ChosenPort();
    const uint32_t rate = rates_->currentData().toUInt();
    if (searching_ || port.isEmpty() || rates_->currentIndex() < 0) {
        return;
    }
    if (port == CConnectSearch::kAutoPort || rate == CConnectSearch::kAutoRate) {
        ShowStatus("Choose the port and the baud rate of the bus to scan it");
        return;
    }
    chosenAddress_ =
        static_cast<int>(ParseRs485Address(ToSystemText(address_->text())).value_or(0));
    scanAfterConnect_ = true;
    StartSearch(port, rate);
}

void CDlgConnect::StartScan() {
    instruments_->clear();
    instruments_->show();
    instrumentsFound_ = 0;
    addressesAnswering_ = 0;
    SetSearching(true);
    lease_.emplace(link_);
    if (!scanJob_.Start({1, kMaxRs485Address})) {
        lease_.reset();
        SetSearching(false);
        ShowStatus(SessionJob::kCannotStart);
    }
}

void CDlgConnect::OnScanning(uint32_t address) {
    ShowStatus(QString("Scanning address %1 of %2...").arg(address).arg(kMaxRs485Address));
}

// A silent address is listed, but cannot be chosen.
void CDlgConnect::OnEntry(const BusScanEntry& entry) {
    auto* item = new QTreeWidgetItem(instruments_, {QString::number(entry.address),
                                                    QString::fromStdString(BusScanOutcome(entry)),
                                                    Latin1Text(entry.versionLine)});
    item->setData(0, Qt::UserRole, entry.address);
    if (entry.silent) {
        item->setFlags(item->flags() & ~Qt::ItemIsEnabled);
    }
    if (IsInstrument(entry.code)) {
        ++instrumentsFound_;
    }
    if (!entry.silent) {
        ++addressesAnswering_;
    }
}

// The scan leaves no connection behind: Connect opens the port for the instrument chosen.
void CDlgConnect::OnScanEnded(bool stopped) {
    lease_.reset();
    const std::string limits = BusScanLimits(link_.Capabilities());
    const uint32_t rate = link_.GetBaudRate();
    link_.Close();
    SetSearching(false);
    if (stopped) {
        ShowStatus("Scan cancelled");
        return;
    }
    QString found =
        QString("%1 instrument(s) found; choose one to connect to it").arg(instrumentsFound_);
    // Where no address gave a single byte, the bus may well run at another rate.
    if (addressesAnswering_ == 0) {
        found = QString("No address answered at %1 baud. %2 Choose another rate and Scan again")
                    .arg(rate)
                    .arg(QString::fromLatin1(CConnectSearch::kRateMayBeWrong));
    }
    ShowStatus(limits.empty() ? found : found + ". " + FromSystemText(limits));
}

void CDlgConnect::ChooseInstrument(QTreeWidgetItem* item) {
    if (item != nullptr && (item->flags() & Qt::ItemIsEnabled)) {
        address_->setText(item->data(0, Qt::UserRole).toString());
    }
}

// RS-485 is chosen with an address other than 0.
void CDlgConnect::UpdateScanButton() {
    const std::optional<uint32_t> address = ParseRs485Address(ToSystemText(address_->text()));
    scanButton_->setEnabled(!searching_ && address.value_or(0) != 0);
}

void CDlgConnect::ShowStatus(const QString& text) {
    status_->setText(text);
    status_->repaint();
}

void CDlgConnect::SaveConnection() {
    settings_.Write(settings::kConnectPort, search_.ConnectedPort());
    settings_.Write(settings::kConnectRate, std::to_string(search_.ConnectedRate()));
    settings_.Write(settings::kConnectAddress, rs485Address_);
}

}  // namespace brennix
