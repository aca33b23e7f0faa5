// The connect dialog on the in-process simulator and virtual time: QtUiHost pumps the real event
// loop while the search's pauses pass on the virtual clock, so a full rate search takes
// milliseconds.

#include "desktop/connect_dialog.h"
#include "gui_fixture.h"
#include "link/serial_link.h"
#include "sim/simulated_bus.h"

namespace brennix::test {

class ConnectDialogTest : public QObject {
    Q_OBJECT

  private slots:
    // An instrument at 19200, the line opened at 9600: each dialog drops it first.
    void init() {
        environment_.Reset();
        rig_ = std::make_unique<SimWindowRig>(sim::Settings{.baudRate = 19200}, 1000);
    }
    void cleanup() { rig_.reset(); }

    // What worked is saved and chosen again next time; a failure saves nothing. An RS-485
    // address out of range would select another instrument on the bus: it is refused before
    // anything is opened. (How each rate is searched is the search's own test.)
    void connectsAndRemembersWhatWorked_data() {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<int>("address");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<uint>("connectedRate");
        QTest::newRow("Auto finds the instrument at 19200") << "Auto" << 7 << false << 19200u;
        QTest::newRow("named rate needs no answer") << "4800" << 7 << true << 4800u;
        QTest::newRow("Auto with no answer fails") << "Auto" << 7 << true << 0u;
        QTest::newRow("16 would send F0") << "19200" << 16 << false << 0u;
    }
    void connectsAndRemembersWhatWorked() {
        QFETCH(QString, rate);
        QFETCH(int, address);
        QFETCH(bool, silent);
        QFETCH(uint, connectedRate);
        rig_->instrument.GetFaults().silent = silent;
        auto dialog = Dialog();
        Combo(*dialog, "rate")->setCurrentText(rate);
        dialog->findChild<QLineEdit*>("rs485")->setText(QString::number(address));
        dialog->show();
        Connect(*dialog);

        if (connectedRate == 0) {
            QVERIFY(dialog->isVisible());
            QVERIFY(rate == "Auto" || !Link().IsOpen());  // a refused address opens nothing
            QCOMPARE(Status(*dialog),
                     rate == "Auto" ? QString("Connect failed!")
                                    : "RS485 address '" + QString::number(address) +
                                          "' refused: an RS-485 address is 0 (plain RS-232) to 15");
            QVERIFY(QSettings().childGroups().isEmpty());
            return;
        }
        QCOMPARE(dialog->Probed(), rate == "Auto");
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(Link().GetBaudRate(), connectedRate);
        QCOMPARE(dialog->Rs485Address(), address);

        dialog = Dialog();
        QCOMPARE(Combo(*dialog, "port")->currentData().toString(), QStringLiteral("SIM"));
        QCOMPARE(Combo(*dialog, "rate")->currentText(), QString::number(connectedRate));
        QCOMPARE(dialog->findChild<QLineEdit*>("rs485")->text(), QString::number(address));
    }

    // "/dev/ttyUSB1" saved with only "/dev/ttyUSB10" present must not connect to the wrong port;
    // the simulator stands in for the system's ports, whose names a test cannot choose.
    void savedPortIsChosenOnlyByItsExactName_data() {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("exact name") << "SIM1"
                                    << "SIM1";
        QTest::newRow("only a longer name listed") << "SIM"
                                                   << "";
        QTest::newRow("a device server, listed by nobody else") << "rfc2217://buoy-7:4002"
                                                                << "rfc2217://buoy-7:4002";
        QTest::newRow("nothing saved: the simulator") << ""
                                                      << "SIM1";
    }
    void savedPortIsChosenOnlyByItsExactName() {
        QFETCH(QString, saved);
        QFETCH(QString, chosen);
        if (!saved.isEmpty()) {
            QSettings("Ostrel", "Brennix").setValue("Connect settings/Port", saved);
        }
        CDlgConnect dialog(Link(), rig_->clock, rig_->ui, rig_->store, "SIM1");
        QComboBox* ports = Combo(dialog, "port");
        QCOMPARE(ports->currentData().toString(), chosen);
        QCOMPARE(ports->currentText().isEmpty(), chosen.isEmpty());
        if (chosen.isEmpty()) {
            dialog.show();
            Connect(dialog);
            QVERIFY(dialog.isVisible() && !Link().IsOpen());
        }
    }

    // Opening the dialog drops the current connection. Cancel is pressed while the search job
    // runs and the window stays alive, as a user would press it.
    void opensWithThePortsAndRatesAndCancelStopsTheSearch() {
        QVERIFY(Link().IsOpen());
        CDlgConnect dialog(Link(), rig_->clock, rig_->ui, rig_->store, "SIM");
        QVERIFY(!Link().IsOpen());
        QCOMPARE(Status(dialog), QStringLiteral("Click 'Connect' to start"));
        QCOMPARE(Combo(dialog, "port")->itemText(0), QStringLiteral("Auto"));
        QCOMPARE(Combo(dialog, "rate")->currentText(), QStringLiteral("9600"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(SaveScreenshot(dialog, "connect-dialog"));

        rig_->instrument.GetFaults().silent = true;
        Combo(dialog, "rate")->setCurrentText("Auto");
        bool busyWhileSearching = false;
        QTimer::singleShot(0, &dialog, [&] {
            busyWhileSearching = !dialog.findChild<QPushButton*>("connect")->isEnabled() &&
                                 QApplication::overrideCursor() != nullptr;
            Click(dialog, "cancel");
        });
        Connect(dialog);

        QVERIFY(busyWhileSearching);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(dialog.isVisible() && !dialog.Searching());
        QCOMPARE(Status(dialog), QStringLiteral("Search cancelled"));
        QVERIFY(!Link().IsOpen());
        Click(dialog, "cancel");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // With RS-485 chosen, Scan lists the bus while the window stays alive; a silent address
    // cannot be chosen, an instrument fills in its address, and no connection is left behind. A
    // bus where no address answers at all may run at another rate: the status says so.
    void scanListsTheBusAndChoosingARowFillsInItsAddress() {
        sim::SimulatedBus bus({{.model = sim::Model::kMirovan, .rs485Address = 2},
                               {.model = sim::Model::kKtx, .rs485Address = 5}});
        SimulatedDevice busPort(bus, rig_->clock);
        CSerialLink busLink(busPort, rig_->clock);
        CDlgConnect dialog(busLink, rig_->clock, rig_->ui, rig_->store, "SIM");
        Combo(dialog, "rate")->setCurrentText("19200");
        auto* address = dialog.findChild<QLineEdit*>("rs485");
        auto* scan = dialog.findChild<QPushButton*>("scan");
        address->setText("0");
        QVERIFY(!scan->isEnabled());
        address->setText("1");
        QVERIFY(scan->isEnabled());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        scan->click();
        QVERIFY(dialog.Searching() && !scan->isEnabled());
        rig_->ui.PumpUntil([&dialog] { return !dialog.Searching(); });
        QCOMPARE(Status(dialog),
                 QStringLiteral("No address answered at 19200 baud. The baud rate "
                                "may be wrong. Choose another rate and Scan again"));
        Combo(dialog, "rate")->setCurrentText("9600");
        scan->click();
        rig_->ui.PumpUntil([&dialog] { return !dialog.Searching(); });

        auto* list = dialog.findChild<QTreeWidget*>("instruments");
        QCOMPARE(list->topLevelItemCount(), 15);
        QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("silent"));
        QCOMPARE(list->topLevelItem(4)->text(2), QStringLiteral("Ostrel KTX Version 2.4"));
        QCOMPARE(Status(dialog),
                 QStringLiteral("2 instrument(s) found; choose one to connect to it"));
        QVERIFY(!busLink.IsOpen());
        QVERIFY(SaveScreenshot(dialog, "connect-dialog-scan"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(0)).center());
        QCOMPARE(address->text(), QStringLiteral("1"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(4)).center());
        QCOMPARE(address->text(), QStringLiteral("5"));
    }

  private:
    static QComboBox* Combo(CDlgConnect& dialog, const char* name) {
        return dialog.findChild<QComboBox*>(name);
    }
    static QString Status(CDlgConnect& dialog) {
        return dialog.findChild<QLabel*>("status")->text();
    }
    static void Click(CDlgConnect& dialog, const char* button) {
        dialog.findChild<QPushButton*>(button)->click();
    }
    // Presses Connect and keeps the window alive until the search job has ended.
    void Connect(CDlgConnect& dialog) {
        Click(dialog, "connect");
        rig_->ui.PumpUntil([&dialog] { return !dialog.Searching(); });
    }

    CSerialLink& Link() { return rig_->session.Link(); }
    std::unique_ptr<CDlgConnect> Dialog() {
        return std::make_unique<CDlgConnect>(Link(), rig_->clock, rig_->ui, rig_->store, "SIM");
    }

    GuiEnvironment environment_;
    std::unique_ptr<SimWindowRig> rig_;
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::ConnectDialogTest, "connect_dialog_test")
#include "connect_dialog_test.moc"
