// The setup sheet's window on the in-process simulator and virtual time: what the technician
// sees on each page, the controls off while a job runs, the focus after a refusal, and the
// windows that come and go (the SDI-12 dialog, the recorder manager, the messages).
#include <QDateTimeEdit>
#include <QTabWidget>
#include <algorithm>

#include "desktop/feature_launcher.h"
#include "gui_fixture.h"
#include "recorder/gui/recorder_dialog.h"
#include "setup/gui/sdi12_deploy_dialog.h"
#include "setup/gui/setup_dialog.h"
#include "sim/sim_recorder.h"

namespace brennix::test {

class SetupDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        environment_.Reset();
        // A JQ (its cells are checked) at 3 MHz with the wave option and an empty recorder.
        rig_ = std::make_unique<SimWindowRig>(
            sim::Settings{
                .systemType = 2, .frequencyCode = 0, .waveOption = true, .recorderSamples = false},
            1000);
    }
    void cleanup() {
        dialog_.reset();
        rig_.reset();
    }

    // Each page as the technician sees it; a tab change waits for its job with the controls off.
    void pagesShowTheInstrumentAndWaitForTheirJobs() {
        Open();
        QCOMPARE(Edit("cellBegin")->text(), QStringLiteral("0.50"));
        QVERIFY(Edit("cellBegin")->isEnabled());
        QCOMPARE(Label("days"), QStringLiteral("1040.1 days of operation remaining"));
        QVERIFY(SaveScreenshot(*dialog_, "setup-deploy"));
        Type("samplingInterval", "60");
        QCOMPARE(Label("days"), QStringLiteral("69.3 days of operation remaining"));

        Tabs()->setCurrentIndex(1);
        QVERIFY(dialog_->IsBusy());
        QVERIFY(!Tabs()->isEnabled());
        QCOMPARE(Tabs()->currentIndex(), 0);
        Settle();
        QVERIFY(Tabs()->isEnabled());
        QCOMPARE(dialog_->ActivePage(), SetupPage::kAdvanced);
        QCOMPARE(Edit("soundSpeed")->text(), QStringLiteral("1521.52"));
        QVERIFY(Edit("soundSpeed")->isReadOnly());
        QVERIFY(Edit("temperature")->isReadOnly());  // MEASURED
        QVERIFY(Combo("waveSpectra")->isEnabled());
        QVERIFY(!Combo("dynBoundAdj")->isEnabled());  // only on VW
        // A greyed control says why: as its tip, and in the status line under the pointer.
        const QString why =
            "Dynamic Boundary Adj. cannot be changed: the page offers dynamic "
            "boundary adjustment only on VW instruments.";
        QCOMPARE(Combo("dynBoundAdj")->toolTip(), why);
        QEnterEvent enter({}, {}, {});
        QApplication::sendEvent(Combo("dynBoundAdj"), &enter);
        QCOMPARE(dialog_->StatusText(), why);
        QCOMPARE(Combo("waveSpectra")->toolTip(), QString());
        QVERIFY(SaveScreenshot(*dialog_, "setup-advanced"));

        Pick("tempMode", "USER");
        QVERIFY(!Edit("temperature")->isReadOnly());
        Type("temperature", "10");  // the sound speed follows as it is typed
        QCOMPARE(Edit("soundSpeed")->text(), QStringLiteral("1489.99"));
        for (const int tab : {2, 3}) {
            Tabs()->setCurrentIndex(tab);
            Settle();
            QVERIFY(SaveScreenshot(*dialog_, tab == 2 ? "setup-hardware" : "setup-options"));
        }
        QCOMPARE(Edit("System Type:")->text(), QStringLiteral("JQ"));
        QCOMPARE(Edit("Wave Option:")->text(), QStringLiteral("NO"));
    }

    // A refusal (by the page or by the instrument) keeps the page, says why and puts the focus
    // on the value; a page rule also selects it for retyping.
    void refusalsKeepThePageWithTheFocusOnTheValue_data() {
        QTest::addColumn<QString>("cellBegin");
        QTest::addColumn<bool>("instrumentRefuses");
        QTest::addColumn<QString>("caption");
        QTest::newRow("page rule") << "0.19" << false << "Brennix";
        QTest::newRow("instrument") << "1.00" << true << "Invalid input";
    }
    void refusalsKeepThePageWithTheFocusOnTheValue() {
        QFETCH(QString, cellBegin);
        QFETCH(bool, instrumentRefuses);
        QFETCH(QString, caption);
        Open();
        if (instrumentRefuses) {
            rig_->instrument.GetFaults().refusedSettings = {"CB"};
        }
        Type("cellBegin", cellBegin);
        auto seen = AnswerNextMessage();
        Tabs()->setCurrentIndex(1);
        Settle();
        QCOMPARE(seen->caption, caption);
        QCOMPARE(seen->icon, instrumentRefuses ? QMessageBox::Critical : QMessageBox::NoIcon);
        QCOMPARE(Tabs()->currentIndex(), 0);
        QCOMPARE(dialog_->focusWidget(), Edit("cellBegin"));
        QCOMPARE(Edit("cellBegin")->selectedText(), instrumentRefuses ? QString() : cellBegin);
    }

    // Enter never presses Deploy: it leaves the page as Close does, and the sheet closes once
    // that job has ended.
    void enterClosesOnceThePageIsSaved() {
        Open();
        Type("averagingInterval", "120");
        rig_->instrument.ClearReceived();
        QTest::keyClick(Edit("averagingInterval"), Qt::Key_Return);
        QVERIFY(dialog_->isVisible());
        Until([&] { return !dialog_->isVisible(); });
        QCOMPARE(dialog_->result(), int(QDialog::Rejected));
        QVERIFY(rig_->instrument.Received().find("SaveSetup") != std::string::npos);
    }

    // Deploy turns the sheet through the pages as they are applied and back to Deploy; the
    // final message follows and the sheet closes.
    void deployTurnsThroughThePagesAndBack() {
        Open();
        QList<int> shown = {0};
        const auto final = AnswerNextMessage();
        Button("deploy")->click();
        Until([&] {
            if (Tabs()->currentIndex() != shown.last()) {
                shown << Tabs()->currentIndex();
            }
            return !dialog_->isVisible();
        });
        QCOMPARE(shown, QList<int>({0, 1, 2, 3, 0}));
        QCOMPARE(final->caption, QStringLiteral("Mirovan deployment"));
        QVERIFY(rig_->instrument.Received().ends_with("deploy\r"));
    }

    // A start the instrument never had is shown as it holds it, and Deploy says so instead of
    // going on without sending one; the first step of the picker starts from today.
    void aStartNeverSetIsShownAndStopsTheDeployment() {
        rig_ = std::make_unique<SimWindowRig>(sim::Settings{.startDateSet = false}, 1000);
        Open();
        auto* picker = dialog_->findChild<QDateTimeEdit*>("startOn");
        QCOMPARE(picker->text(), QStringLiteral("0000/00/00 , 00:00:00 (not set)"));
        QVERIFY(SaveScreenshot(*dialog_, "setup-start-not-set"));

        // Stepped away and back on "not set" it is refused, not taken for today at midnight.
        picker->setCurrentSection(QDateTimeEdit::YearSection);
        QTest::keyClick(picker, Qt::Key_Up);
        QTest::keyClick(picker, Qt::Key_Down);
        QVERIFY(picker->text().endsWith("(not set)"));
        const auto refused = AnswerNextMessage();
        Button("deploy")->click();
        Until([&] { return !refused->text.isEmpty() && !dialog_->IsBusy(); });
        QVERIFY2(refused->text.startsWith("The start date is not set"), qPrintable(refused->text));
        QVERIFY(dialog_->isVisible());
        QCOMPARE(dialog_->focusWidget(), picker);
        QVERIFY(rig_->instrument.Received().find("deploy\r") == std::string::npos);
        QTest::keyClick(picker, Qt::Key_Up);
        const QString year = QString::number(QDate::currentDate().year() + 1);
        QVERIFY2(picker->text().startsWith(year), qPrintable(picker->text()));
        const auto final = AnswerNextMessage();
        Button("deploy")->click();
        Until([&] { return !dialog_->isVisible(); });
        QCOMPARE(final->caption, QStringLiteral("Mirovan deployment"));
        QVERIFY(rig_->instrument.Received().find("SD " + year.toStdString()) != std::string::npos);
    }

    // Deploy in SDI-12 mode: the dialog comes, a refused value brings it back with the focus on
    // it, the final message follows and the sheet closes; the mode stays as picked.
    void sdi12DeploymentRunsTheDialog() {
        Open();
        Pick("mode", "SDI-12");
        rig_->instrument.GetFaults().refusedSettings = {"sdi12format"};
        QString focused;
        QString refusal;
        OnNextModal<CDlgSdi12Deploy>([&](CDlgSdi12Deploy* dialog) {
            SaveScreenshot(*dialog, "setup-sdi12-dialog");
            auto* format = dialog->findChild<QComboBox*>("sdi12Format");
            format->setCurrentText("Tandrel");
            emit format->activated(format->currentIndex());
            dialog->findChild<QPushButton*>("deploy")->click();
            // Refused: the box, then the dialog again on the format.
            OnNextModal<QMessageBox>([&](QMessageBox* box) {
                refusal = box->windowTitle();
                box->accept();
                OnNextModal<CDlgSdi12Deploy>([&](CDlgSdi12Deploy* again) {
                    focused = again->focusWidget() ? again->focusWidget()->objectName() : "";
                    rig_->instrument.GetFaults().refusedSettings.clear();
                    connect(again, &QDialog::finished, this,
                            [this] { finalMessage_ = AnswerNextMessage(); });
                    again->findChild<QPushButton*>("deploy")->click();
                });
            });
        });
        Button("deploy")->click();
        Until([&] { return !dialog_->isVisible(); });
        QCOMPARE(refusal, QStringLiteral("Invalid input"));
        QCOMPARE(focused, QStringLiteral("sdi12Format"));
        QVERIFY(finalMessage_);
        QCOMPARE(finalMessage_->caption, QStringLiteral("Mirovan SDI-12 deployment"));
        QVERIFY(rig_->instrument.Received().ends_with("sample\r"));
    }

    // Setup > Deployment: the instrument check, then the sheet on what the instrument holds; the
    // Recorder button runs the recorder manager over it, then reads the space again.
    void theMenuRowOpensTheSheetAndItsRecorderButtonTheManager() {
        const auto entries = FeatureEntries();
        const auto row =
            std::ranges::find(entries, QString("&Deployment"), &FeatureEntry::menuText);
        QVERIFY(row != entries.end());
        QString caption, manager, before, after;
        OnNextModal([&](QWidget* sheet) {
            caption = sheet->windowTitle();
            auto* setup = qobject_cast<CSetupDialog*>(sheet);
            Until([&] { return !setup->IsBusy(); });
            before = sheet->findChild<QLabel*>("days")->text();
            // Typed: until the manager is up, the sheet itself is the active modal window.
            OnNextModal<CDlgRecorder>([&](CDlgRecorder* recorder) {
                manager = recorder->windowTitle();
                rig_->instrument.Recorder().AddFile({"BIG.000", std::string(3'000'000, 'x')});
                recorder->close();
            });
            sheet->findChild<QPushButton*>("recorder")->click();
            Until([&] { return !manager.isEmpty() && !setup->IsBusy(); });
            after = sheet->findChild<QLabel*>("days")->text();
            sheet->findChild<QPushButton*>("close")->click();
        });
        const VirtualTimeDriver time(rig_->clock);
        LaunchFeature(*row, Context());
        QCOMPARE(caption, QStringLiteral("Setup Mirovan"));
        QCOMPARE(manager, QStringLiteral("Recorder manager"));
        QCOMPARE(before, QStringLiteral("1040.1 days of operation remaining"));
        QVERIFY2(after != before, qPrintable(after));
    }

    void aBlockThatDoesNotArriveIsReportedAndTheSheetCloses() {
        rig_->instrument.GetFaults().wrongBlockChecksum = true;
        auto seen = AnswerNextMessage();
        CSetupDialog dialog(Context());
        QVERIFY(dialog.Open());
        const VirtualTimeDriver time(rig_->clock);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(seen->caption, QStringLiteral("Setup Mirovan"));
        QVERIFY2(seen->text.contains("no valid answer to \"get Conf\""), qPrintable(seen->text));
    }

  private:
    FeatureContext Context() {
        FeatureContext context = rig_->Context();
        return context;
    }
    void Open() {
        dialog_ = std::make_unique<CSetupDialog>(Context());
        QVERIFY(dialog_->Open());
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
        dialog_->activateWindow();
        Settle();
    }
    void Until(const std::function<bool()>& done) { rig_->Until(done); }
    void Settle() {
        Until([this] { return !dialog_->IsBusy(); });
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
    std::unique_ptr<SimWindowRig> rig_;
    std::unique_ptr<CSetupDialog> dialog_;
    std::shared_ptr<SeenMessage> finalMessage_;
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::SetupDialogTest, "setup_dialog_test")
#include "setup_dialog_test.moc"
