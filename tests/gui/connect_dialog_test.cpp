#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/qt_ui_host.h"
#include "gui/dialogs_screenshot.h"
#include "link/connect_dialog.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/simulated_device.h"
#include "sim/simulated_instrument.h"

namespace brennix {

// The dialog on the in-process simulator and virtual time: QtUiHost pumps the real event loop
// while the search's pauses pass on the virtual clock, so a full rate search takes milliseconds.
class ConnectDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void opensWithDefaultsAndTheSimulatorChosen();
    void autoRateFindsTheInstrumentAndSavesWhatWorked();
    void directConnectionNeedsNoAnswer();
    void savedChoicesArePreselected();
    void goneSavedPortLeavesNothingChosenAndConnectDoesNothing();
    void failedSearchSaysSoAndStaysOpen();
    void typedPortThatWillNotOpenSaysWhy();
    void cancelDuringTheSearchStopsItAndDisconnects();
    void cancelWithoutSearchLeavesTheLinkClosed();

  private:
    std::unique_ptr<CDlgConnect> MakeDialog(bool offerSimulator = true);
    QComboBox* Combo(CDlgConnect& dialog, const char* name);
    void Choose(CDlgConnect& dialog, const QString& port, const QString& rate);
    QString Status(CDlgConnect& dialog);
    QString Saved(const char* key);

    QTemporaryDir settingsFolder_;
    std::unique_ptr<VirtualClock> clock_;
    std::unique_ptr<sim::SimulatedInstrument> instrument_;
    std::unique_ptr<SimulatedDevice> device_;
    std::unique_ptr<CSerialLink> link_;
    std::unique_ptr<QtUiHost> ui_;
};

void ConnectDialogTest::initTestCase() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder_.path());
}

void ConnectDialogTest::init() {
    QSettings("Ostrel", "Brennix").clear();
    sim::Settings settings;
    settings.baudRate = 19200;
    clock_ = std::make_unique<VirtualClock>(1000);
    instrument_ = std::make_unique<sim::SimulatedInstrument>(settings);
    device_ = std::make_unique<SimulatedDevice>(*instrument_, *clock_);
    link_ = std::make_unique<CSerialLink>(*device_, *clock_);
    ui_ = std::make_unique<QtUiHost>(*clock_);
}

void ConnectDialogTest::cleanup() {
    ui_.reset();
    link_.reset();
    device_.reset();
    instrument_.reset();
}

std::unique_ptr<CDlgConnect> ConnectDialogTest::MakeDialog(bool offerSimulator) {
    return std::make_unique<CDlgConnect>(*link_, *clock_, *ui_, offerSimulator);
}

QComboBox* ConnectDialogTest::Combo(CDlgConnect& dialog, const char* name) {
    return dialog.findChild<QComboBox*>(name);
}

void ConnectDialogTest::Choose(CDlgConnect& dialog, const QString& port, const QString& rate) {
    QComboBox* ports = Combo(dialog, "port");
    ports->setCurrentIndex(ports->findData(port));
    QComboBox* rates = Combo(dialog, "rate");
    rates->setCurrentIndex(rates->findText(rate));
}

QString ConnectDialogTest::Status(CDlgConnect& dialog) {
    return dialog.findChild<QLabel*>("status")->text();
}

QString ConnectDialogTest::Saved(const char* key) {
    QSettings settings("Ostrel", "Brennix");
    settings.beginGroup(CDlgConnect::kSettingsGroup);
    return settings.value(key).toString();
}

void ConnectDialogTest::opensWithDefaultsAndTheSimulatorChosen() {
    QVERIFY(link_->Open(SimulatedDevice::kPortName, 9600));
    auto dialog = MakeDialog();

    QVERIFY(!link_->IsOpen());
    QCOMPARE(dialog->windowTitle(), QString("Brennix: Connect to"));
    QCOMPARE(Status(*dialog), QString("Click 'Connect' to start"));
    QComboBox* ports = Combo(*dialog, "port");
    QCOMPARE(ports->itemText(0), QString("Auto"));
    QCOMPARE(ports->currentData().toString(), QString("SIM"));
    QComboBox* rates = Combo(*dialog, "rate");
    QCOMPARE(rates->count(), 11);
    QCOMPARE(rates->itemData(0).toUInt(), 0u);
    QCOMPARE(rates->itemData(10).toUInt(), 115200u);
    QCOMPARE(rates->currentText(), QString("9600"));
    QCOMPARE(dialog->findChild<QLineEdit*>("rs485")->text(), QString("0"));

    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QVERIFY(test::SaveScreenshot(*dialog, "connect-dialog"));
}

void ConnectDialogTest::autoRateFindsTheInstrumentAndSavesWhatWorked() {
    auto dialog = MakeDialog();
    Choose(*dialog, "SIM", "Auto");
    dialog->findChild<QLineEdit*>("rs485")->setText("-3");

    dialog->findChild<QPushButton*>("connect")->click();

    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QVERIFY(dialog->Probed());
    QCOMPARE(dialog->Rs485Address(), -3);
    QCOMPARE(link_->GetBaudRate(), 19200u);
    QCOMPARE(Saved("Port"), QString("SIM"));
    QCOMPARE(Saved("Rate"), QString("19200"));
    QCOMPARE(Saved("RS485"), QString("-3"));
    QCOMPARE(device_->BreakTicks().size(), size_t(1));
}

void ConnectDialogTest::directConnectionNeedsNoAnswer() {
    instrument_->GetFaults().silent = true;
    auto dialog = MakeDialog();
    Choose(*dialog, "SIM", "4800");

    dialog->findChild<QPushButton*>("connect")->click();

    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QVERIFY(!dialog->Probed());
    QCOMPARE(link_->GetBaudRate(), 4800u);
    QCOMPARE(Saved("Rate"), QString("4800"));
}

void ConnectDialogTest::savedChoicesArePreselected() {
    QSettings settings("Ostrel", "Brennix");
    settings.beginGroup(CDlgConnect::kSettingsGroup);
    settings.setValue("Port", "Au");
    settings.setValue("Rate", "1152");
    settings.setValue("RS485", 7);
    settings.sync();

    auto dialog = MakeDialog();

    QCOMPARE(Combo(*dialog, "port")->currentText(), QString("Auto"));
    QCOMPARE(Combo(*dialog, "rate")->currentText(), QString("115200"));
    QCOMPARE(dialog->findChild<QLineEdit*>("rs485")->text(), QString("7"));
}

void ConnectDialogTest::goneSavedPortLeavesNothingChosenAndConnectDoesNothing() {
    auto dialog = MakeDialog(false);
    QCOMPARE(Combo(*dialog, "port")->currentText(), QString());

    dialog->show();
    dialog->findChild<QPushButton*>("connect")->click();

    QVERIFY(dialog->isVisible());
    QCOMPARE(Status(*dialog), QString("Click 'Connect' to start"));
    QVERIFY(!link_->IsOpen());
}

void ConnectDialogTest::failedSearchSaysSoAndStaysOpen() {
    instrument_->GetFaults().silent = true;
    auto dialog = MakeDialog();
    Choose(*dialog, "SIM", "Auto");
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    const QSize size = dialog->size();

    dialog->findChild<QPushButton*>("connect")->click();

    QVERIFY(dialog->isVisible());
    QCOMPARE(Status(*dialog), QString("Connect failed!"));
    QCOMPARE(dialog->size(), size);
    QVERIFY(test::SaveScreenshot(*dialog, "connect-dialog-failed"));
    QVERIFY(dialog->Probed());
    QVERIFY(dialog->findChild<QPushButton*>("connect")->isEnabled());
    QVERIFY(!dialog->findChild<QPushButton*>("cancel")->hasFocus());
    QCOMPARE(Saved("Port"), QString());
}

void ConnectDialogTest::typedPortThatWillNotOpenSaysWhy() {
    auto dialog = MakeDialog();
    dialog->show();
    Combo(*dialog, "port")->setEditText("/dev/brennix-none");

    dialog->findChild<QPushButton*>("connect")->click();

    QVERIFY(
        Status(*dialog).startsWith("Connect failed! Unable to connect to '/dev/brennix-none' ("));
    QVERIFY(!link_->IsOpen());
    QVERIFY(test::SaveScreenshot(*dialog, "connect-dialog-open-failure"));
}

// Cancel is pressed from the event loop the search pumps, as a user would press it.
void ConnectDialogTest::cancelDuringTheSearchStopsItAndDisconnects() {
    instrument_->GetFaults().silent = true;
    auto dialog = MakeDialog();
    Choose(*dialog, "SIM", "Auto");
    dialog->show();
    bool connectWasDisabled = false;
    bool waitCursorShown = false;
    QTimer::singleShot(0, dialog.get(), [&] {
        connectWasDisabled = !dialog->findChild<QPushButton*>("connect")->isEnabled();
        waitCursorShown = QApplication::overrideCursor() != nullptr &&
                          QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        dialog->findChild<QPushButton*>("cancel")->click();
    });

    dialog->findChild<QPushButton*>("connect")->click();

    QVERIFY(connectWasDisabled);
    QVERIFY(waitCursorShown);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->Searching());
    QVERIFY(!link_->IsOpen());
    QCOMPARE(Status(*dialog), QString("Search cancelled"));
    QVERIFY(dialog->findChild<QPushButton*>("connect")->isEnabled());

    dialog->findChild<QPushButton*>("cancel")->click();
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QVERIFY(!dialog->isVisible());
}

void ConnectDialogTest::cancelWithoutSearchLeavesTheLinkClosed() {
    QVERIFY(link_->Open(SimulatedDevice::kPortName, 9600));
    auto dialog = MakeDialog();
    dialog->show();

    dialog->findChild<QPushButton*>("cancel")->click();

    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QVERIFY(!link_->IsOpen());
    QVERIFY(!dialog->Probed());
}

}  // namespace brennix

QTEST_MAIN(brennix::ConnectDialogTest)
#include "connect_dialog_test.moc"
