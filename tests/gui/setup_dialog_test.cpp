// The setup sheet on the in-process simulator and virtual time: what the technician sees on each
// page, and the commands that reach the instrument when a page is left or Deploy is pressed.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <memory>

#include "desktop/feature_context.h"
#include "desktop/feature_launcher.h"
#include "desktop/qt_ui_host.h"
#include "gui_fixture.h"
#include "instrument/setup_reader.h"
#include "platform/qt_settings.h"
#include "recorder/recorder_space.h"
#include "script/session.h"
#include "setup/deploy_page.h"
#include "setup/setup_dialog.h"
#include "sim/sim_recorder.h"
#include "sim/simulated_device.h"
#include "sim/simulated_instrument.h"

namespace brennix::test {

namespace {

// The lines the program wrote since the last call, blank lines left out.
QStringList SentLines(sim::SimulatedInstrument& instrument) {
    QStringList lines = QString::fromLatin1(instrument.Received())
                            .split(QRegularExpression("[\r\n]"), Qt::SkipEmptyParts);
    instrument.ClearReceived();
    return lines;
}

}  // namespace

class SetupDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        environment_.Reset();
        sim::Settings settings;
        settings.systemType = 2;     // JQ: the cells are checked
        settings.frequencyCode = 0;  // 3 MHz
        settings.waveOption = true;
        settings.recorderSamples = false;  // an empty recorder
        instrument_ = std::make_unique<sim::SimulatedInstrument>(settings);
        device_ = std::make_unique<SimulatedDevice>(*instrument_, clock_);
        session_ = std::make_unique<CSession>(*device_, clock_, ui_);
        QVERIFY(session_->Link().Open(SimulatedDevice::kPortName, 9600));
    }
    void cleanup() {
        dialog_.reset();
        sheet_.reset();
        session_.reset();
        device_.reset();
    }

    // Typing, tab changes and what goes out: an untouched page sends nothing, a changed one its
    // settings and "SaveSetup"; the days follow the interval as it is typed.
    void pagesShowTheInstrumentAndWriteOnlyWhatChanged() {
        Open(UnitSystem::kMetric);
        QCOMPARE(Edit("cellBegin")->text(), QStringLiteral("0.50"));
        QVERIFY(Edit("cellBegin")->isEnabled());
        QCOMPARE(Label("days"), QStringLiteral("1040.1 days of operation remaining"));
        QVERIFY(SaveScreenshot(*dialog_, "setup-deploy"));

        Type("samplingInterval", "60");
        QCOMPARE(Label("days"), QStringLiteral("69.3 days of operation remaining"));
        Type("samplingInterval", "6O");
        QCOMPARE(Label("days"), QStringLiteral("Days remaining unknown: check the intervals"));
        Type("samplingInterval", "60");
        QCOMPARE(SentLines(*instrument_), QStringList{});

        Tabs()->setCurrentIndex(1);
        QCOMPARE(dialog_->ActivePage(), SetupPage::kAdvanced);
        QCOMPARE(SentLines(*instrument_), (QStringList{"SI 60", "SaveSetup", "enablewaves"}));
        QCOMPARE(Edit("soundSpeed")->text(), QStringLiteral("1521.52"));
        QVERIFY(Edit("soundSpeed")->isReadOnly());
        QVERIFY(Edit("temperature")->isReadOnly());  // MEASURED
        QVERIFY(Combo("waveSpectra")->isEnabled());
        QVERIFY(!Combo("dynBoundAdj")->isEnabled());  // only on VW
        QVERIFY(SaveScreenshot(*dialog_, "setup-advanced"));

        Pick("tempMode", "USER");
        QVERIFY(!Edit("temperature")->isReadOnly());
        Type("temperature", "10");
        Type("salinity", "35");
        QCOMPARE(Edit("soundSpeed")->text(), QStringLiteral("1489.99"));
        Tabs()->setCurrentIndex(2);
        QCOMPARE(SentLines(*instrument_),
                 (QStringList{"TempMode USER", "Temp 10.00", "SaveSetup"}));
        QCOMPARE(Edit("System Type:")->text(), QStringLiteral("JQ"));
        QCOMPARE(Edit("System Frequency:")->text(), QStringLiteral("3 MHz"));
        QVERIFY(SaveScreenshot(*dialog_, "setup-hardware"));
        Tabs()->setCurrentIndex(3);
        QCOMPARE(Edit("Wave Option:")->text(), QStringLiteral("NO"));
        QVERIFY(SaveScreenshot(*dialog_, "setup-options"));

        Tabs()->setCurrentIndex(0);
        Tabs()->setCurrentIndex(1);
        Tabs()->setCurrentIndex(0);
        QCOMPARE(SentLines(*instrument_), QStringList{});
    }

    // In feet and deg F nothing drifts: pages left untouched send nothing, visit after visit.
    void englishUnitsLeftAloneSendNothing() {
        Open(UnitSystem::kEnglish);
        QCOMPARE(Edit("cellBegin")->text(), QStringLiteral("1.64"));
        for (int visit = 0; visit < 3; ++visit) {
            Tabs()->setCurrentIndex(1);
            Tabs()->setCurrentIndex(0);
        }
        QCOMPARE(SentLines(*instrument_), QStringList{"enablewaves"});
        QCOMPARE(sheet_->Record().User().CellBegin(), 50);
    }

    // A refusal (by the page or by the instrument) keeps the page, says why and puts the focus
    // on the value; the later settings are not sent.
    void refusalsKeepThePage_data() {
        QTest::addColumn<QString>("cellBegin");
        QTest::addColumn<bool>("instrumentRefuses");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("page rule")
            << "0.19" << false << "Brennix"
            << "Cell Begin must be between  0.20 to  5.80 m." << QStringList{};
        QTest::newRow("instrument") << "1.00" << true << "Invalid input"
                                    << "ERROR: invalid value" << QStringList{"SI 60", "CB 1.00"};
    }
    void refusalsKeepThePage() {
        QFETCH(QString, cellBegin);
        QFETCH(bool, instrumentRefuses);
        QFETCH(QString, caption);
        QFETCH(QString, message);
        QFETCH(QStringList, sent);
        Open(UnitSystem::kMetric);
        if (instrumentRefuses)
            instrument_->GetFaults().refusedSettings = {"CB"};
        Type("samplingInterval", "60");
        Type("cellBegin", cellBegin);
        Type("fileName", "RIVER1");
        auto seen = AnswerNextMessage();
        Tabs()->setCurrentIndex(1);
        QCOMPARE(seen->caption, caption);
        QVERIFY2(seen->text.contains(message), qPrintable(seen->text));
        QCOMPARE(seen->icon, instrumentRefuses ? QMessageBox::Critical : QMessageBox::NoIcon);
        QCOMPARE(Tabs()->currentIndex(), 0);
        QCOMPARE(dialog_->focusWidget(), Edit("cellBegin"));
        // A page rule also selects the value to retype.
        QCOMPARE(Edit("cellBegin")->selectedText(), instrumentRefuses ? QString() : cellBegin);
        QCOMPARE(SentLines(*instrument_), sent);
    }

    // Close (and Enter, which never presses Deploy) leaves the page as a tab change does, then
    // ends the sheet.
    void closeSavesTheChangedPageFirst() {
        Open(UnitSystem::kMetric);
        Type("averagingInterval", "120");
        QTest::keyClick(Edit("averagingInterval"), Qt::Key_Return);
        QCOMPARE(dialog_->result(), int(QDialog::Rejected));
        QVERIFY(!dialog_->isVisible());
        QCOMPARE(SentLines(*instrument_), (QStringList{"AI 120", "SaveSetup"}));
    }

    // Deploy in SDI-12 mode: every page applied, the dialog's settings written, "sample" sent,
    // the technician told to attach the converter, the sheet closed.
    void sdi12DeploymentRunsTheDialog() {
        Open(UnitSystem::kMetric);
        Pick("mode", "SDI-12");
        QString sdi12Caption;
        OnNextModal([&](QWidget* dialog) {
            sdi12Caption = dialog->windowTitle();
            SaveScreenshot(*dialog, "setup-sdi12-dialog");
            auto* address = dialog->findChild<QLineEdit*>("sdi12Address");
            address->selectAll();
            QTest::keyClicks(address, "3");
            auto* format = dialog->findChild<QComboBox*>("sdi12Format");
            format->setCurrentText("Tandrel");
            emit format->activated(format->currentIndex());
            // The final box comes once the dialog has closed; answering earlier would hit it.
            connect(qobject_cast<QDialog*>(dialog), &QDialog::finished, this,
                    [this] { finalMessage_ = AnswerNextMessage(); });
            dialog->findChild<QPushButton*>("deploy")->click();
        });
        Button("deploy")->click();

        QCOMPARE(sdi12Caption, QStringLiteral("Deploy"));
        QVERIFY(finalMessage_);
        QCOMPARE(finalMessage_->caption, QStringLiteral("Mirovan SDI-12 deployment"));
        QCOMPARE(finalMessage_->icon, QMessageBox::Information);
        QVERIFY(!dialog_->isVisible());
        const QStringList sent = SentLines(*instrument_);
        QCOMPARE(sent.mid(sent.size() - 3),
                 (QStringList{"Sdi12Address 3", "sdi12format Tandrel", "sample"}));
        QVERIFY(sent.contains("enablewaves"));
    }

    // Setup > Deployment: the instrument check, then the sheet on what the instrument holds.
    void theMenuRowOpensTheSheetOnAMirovan() {
        const auto entries = FeatureEntries();
        const auto row = std::find_if(entries.begin(), entries.end(), [](const FeatureEntry& e) {
            return e.menuText == "&Deployment";
        });
        QVERIFY(row != entries.end());
        QString caption;
        QString days;
        OnNextModal([&](QWidget* sheet) {
            caption = sheet->windowTitle();
            days = sheet->findChild<QLabel*>("days")->text();
            sheet->findChild<QPushButton*>("close")->click();
        });
        LaunchFeature(*row,
                      FeatureContext{nullptr, *session_, ui_, store_, UnitSystem::kMetric, 0});
        QCOMPARE(caption, QStringLiteral("Setup Mirovan"));
        QCOMPARE(days, QStringLiteral("1040.1 days of operation remaining"));
    }

    // Setup > Deployment on an instrument whose configuration does not arrive says so.
    // The Recorder button runs the recorder manager over the sheet, then reads the space again.
    void recorderButtonRunsTheManagerAndReadsTheSpaceAgain() {
        const std::vector<FeatureEntry> entries = FeatureEntries();
        const FeatureEntry& deployment = entries.front();
        QString manager;
        QString before;
        QString after;
        OnNextModal([&](QWidget* sheet) {
            before = sheet->findChild<QLabel*>("days")->text();
            OnNextModal([&](QWidget* recorder) {
                manager = recorder->windowTitle();
                instrument_->Recorder().AddFile({"BIG.000", std::string(3'000'000, 'x')});
                recorder->close();
            });
            sheet->findChild<QPushButton*>("recorder")->click();
            after = sheet->findChild<QLabel*>("days")->text();
            sheet->findChild<QPushButton*>("close")->click();
        });
        LaunchFeature(deployment,
                      FeatureContext{nullptr, *session_, ui_, store_, UnitSystem::kMetric, 0});
        QCOMPARE(manager, QStringLiteral("Recorder manager"));
        QCOMPARE(before, QStringLiteral("1040.1 days of operation remaining"));
        QVERIFY2(after != before, qPrintable(after));
    }

    void aBlockThatDoesNotArriveIsReported() {
        instrument_->GetFaults().wrongBlockChecksum = true;
        auto seen = AnswerNextMessage();
        OpenSetup(FeatureContext{nullptr, *session_, ui_, store_, UnitSystem::kMetric, kMirovan});
        QCOMPARE(seen->caption, QStringLiteral("Setup Mirovan"));
        QVERIFY2(seen->text.contains("no valid answer to \"get Conf\""), qPrintable(seen->text));
    }

  private:
    void Open(UnitSystem units) {
        SetupRecordRead read = ReadSetupRecord(session_->Instrument());
        QVERIFY(read.record);
        record_ = *read.record;
        sheet_ = std::make_unique<SetupSheet>(record_, session_->Instrument(), ui_, units,
                                              &ReadRecorderFreeBytes);
        dialog_ = std::make_unique<CSetupDialog>(*sheet_);
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
        dialog_->activateWindow();
        instrument_->ClearReceived();
    }

    QTabWidget* Tabs() { return dialog_->findChild<QTabWidget*>("pages"); }
    QLineEdit* Edit(const char* name) { return dialog_->findChild<QLineEdit*>(name); }
    QComboBox* Combo(const char* name) { return dialog_->findChild<QComboBox*>(name); }
    QPushButton* Button(const char* name) { return dialog_->findChild<QPushButton*>(name); }
    QString Label(const char* name) { return dialog_->findChild<QLabel*>(name)->text(); }
    // Replaces the edit's text as a technician types it.
    void Type(const char* name, const QString& text) {
        QLineEdit* edit = Edit(name);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void Pick(const char* name, const QString& entry) {
        QComboBox* list = Combo(name);
        list->setCurrentIndex(list->findText(entry));
        emit list->activated(list->currentIndex());
    }

    GuiEnvironment environment_;
    VirtualClock clock_{1000};
    QtUiHost ui_{clock_};
    QtSettings store_;
    std::unique_ptr<sim::SimulatedInstrument> instrument_;
    std::unique_ptr<SimulatedDevice> device_;
    std::unique_ptr<CSession> session_;
    SetupRecord record_;
    std::unique_ptr<SetupSheet> sheet_;
    std::unique_ptr<CSetupDialog> dialog_;
    std::shared_ptr<SeenMessage> finalMessage_;
};

}  // namespace brennix::test

QTEST_MAIN(brennix::test::SetupDialogTest)
#include "setup_dialog_test.moc"
