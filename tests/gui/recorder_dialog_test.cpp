// The recorder manager's own behaviour on the in-process simulator and virtual time: what it shows
// and enables as the service reports, its questions, and its close once the rate is back.
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "desktop/qt_ui_host.h"
#include "gui_fixture.h"
#include "platform/qt_settings.h"
#include "recorder/recorder_dialog.h"
#include "script/session.h"
#include "sim/sim_recorder.h"
#include "sim/simulated_device.h"
#include "sim/simulated_instrument.h"

namespace brennix::test {

class RecorderDialogTest : public QObject {
    Q_OBJECT

  private slots:
    // Downloads land in the documents of a home of the test's own.

    void init() {
        environment_.Reset();
        QDir(environment_.FilePath("home")).removeRecursively();
        instrument_ = std::make_unique<sim::SimulatedInstrument>();
        device_ = std::make_unique<SimulatedDevice>(*instrument_, clock_);
        session_ = std::make_unique<CSession>(*device_, clock_, ui_);
        QVERIFY(session_->Link().Open(SimulatedDevice::kPortName, 9600));
    }
    void cleanup() {
        dialog_.reset();
        session_.reset();
    }

    // Nothing starts while the listing runs; then the files at the saved rate, a download with
    // its Cancel button, and a close that puts the line's rate back and keeps the chosen one.
    void listsAtTheSavedRateDownloadsAndClosesAtTheLinesRate() {
        QSettings().setValue("Recorder/DownoadRate", 115200);
        dialog_ = std::make_unique<CDlgRecorder>(FeatureContext{nullptr, *session_, ui_, store_});
        dialog_->show();
        Until([this] { return Text("status") == "Reading directory..."; });
        QVERIFY(!Button("download")->isEnabled() && !Button("format")->isEnabled());
        Until([this] { return Text("status") == "Ready"; });
        QVERIFY(Button("download")->isEnabled() && Rates()->isEnabled());
        QCOMPARE(Text("fileCount"), QStringLiteral("Files: 3"));
        QCOMPARE(Text("usedSpace"), QStringLiteral("Used space 256.0 kB / 4.00 MB"));
        const QTreeWidgetItem* first = List()->topLevelItem(0);
        QCOMPARE(QStringList({first->text(0), first->text(1), first->text(2), first->text(3)}),
                 QStringList({"DEP1.000", "98304", "03/14/2026", "09:30"}));
        QCOMPARE(Rates()->currentText(), QStringLiteral("115200"));

        List()->topLevelItem(1)->setSelected(true);
        List()->topLevelItem(2)->setSelected(true);
        Button("download")->click();
        QCOMPARE(Button("download")->text(), QStringLiteral("Cancel"));
        Until([this] { return Progress()->value() > 100; });
        QVERIFY(SaveScreenshot(*dialog_, "recorder-downloading"));
        Until([this] { return Button("download")->text() == "&Download"; });
        QCOMPARE(Text("status"), QStringLiteral("Done"));
        QVERIFY(Text("detail").startsWith("Total time 00:00:0"));
        QCOMPARE(Progress()->value(), 300);
        QCOMPARE(ReadFile(QDir(CDlgRecorder::DownloadFolder()).filePath("TEST.000.mrv")).size(),
                 700);

        dialog_->reject();
        Until([this] { return !dialog_->isVisible(); });
        QCOMPARE(session_->Link().GetBaudRate(), 9600u);
        dialog_.reset();
        QCOMPARE(QSettings().value("Recorder/DownoadRate").toUInt(), 115200u);
    }

    // Closing asks first; No keeps the download going, Yes closes once it has ended.
    void closingDuringADownloadAsksFirst() {
        Open();
        List()->topLevelItem(0)->setSelected(true);
        Button("download")->click();
        Until([this] { return Progress()->value() > 30; });
        const auto refused = AnswerNextMessage("No");
        dialog_->reject();
        QCOMPARE(refused->caption, QStringLiteral("Cancel Download ?"));
        QCOMPARE(refused->text,
                 QStringLiteral("Download in progress\nAre you sure that you want to cancel it?"));
        QVERIFY(dialog_->isVisible());

        AnswerNextMessage("Yes");
        dialog_->reject();
        Until([this] { return !dialog_->isVisible(); });
        QCOMPARE(Text("status"), QStringLiteral("Cancelled"));
        QVERIFY(Text("detail").endsWith("\nPartial: DEP1.000.mrv.part"));
        QVERIFY(QFile::exists(QDir(CDlgRecorder::DownloadFolder()).filePath("DEP1.000.mrv.part")));
    }

    void replaceQuestionIsTheDialogsOwnAndNoKeepsTheFile() {
        QDir().mkpath(CDlgRecorder::DownloadFolder());
        const QString existing = QDir(CDlgRecorder::DownloadFolder()).filePath("TEST.000.mrv");
        QVERIFY(WriteFile(existing, "old"));
        Open();
        List()->topLevelItem(2)->setSelected(true);
        QStringList buttons;
        QString caption;
        QString text;
        OnNextModal<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            text = box->text();
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            SaveScreenshot(*box, "recorder-replace");
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == "&No")
                    button->click();
            }
        });
        Button("download")->click();
        Until([this] { return Button("download")->text() == "&Download"; });
        QCOMPARE(caption, QStringLiteral("Confirm file replace"));
        QCOMPARE(text, "File " + existing + " already exists!\nDo you want to replace it?");
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"&No", "&Yes", "Yes to &all"}));
        QCOMPARE(ReadFile(existing), QByteArray("old"));
    }

    // A rate the instrument refuses is said, and the choice goes back to the line's.
    void refusedRateLeavesTheChoiceAsItWas() {
        Open();
        QCOMPARE(Rates()->currentText(), QStringLiteral("57600"));
        instrument_->GetFaults().refuseBaud = true;
        const auto refusal = AnswerNextMessage("OK");
        Rates()->setCurrentIndex(Rates()->findText("115200"));
        emit Rates()->activated(Rates()->currentIndex());
        Until([&refusal] { return !refusal->text.isEmpty(); });
        QCOMPARE(refusal->text,
                 QStringLiteral("Failed to change baud rate\n Please try a different baud rate!"));
        QCOMPARE(Rates()->currentText(), QStringLiteral("57600"));
        QCOMPARE(session_->Link().GetBaudRate(), 57600u);
    }

    void formatAsksFirstThenEmptiesTheList() {
        Open();
        const auto declined = AnswerNextMessage("Cancel");
        Button("format")->click();
        QCOMPARE(declined->caption, QStringLiteral("Format?"));
        QCOMPARE(List()->topLevelItemCount(), 3);

        const auto accepted = AnswerNextMessage("OK");
        Button("format")->click();
        QCOMPARE(List()->topLevelItemCount(), 0);
        QCOMPARE(Text("fileCount"), QStringLiteral("Files: none"));
        QCOMPARE(Button("download")->text(), QStringLiteral("Cancel"));
        Until([this] { return Button("download")->text() == "&Download"; });
        QCOMPARE(Text("status"), QStringLiteral("Done"));
        QCOMPARE(Progress()->value(), 100);
    }

  private:
    void Open() {
        dialog_ = std::make_unique<CDlgRecorder>(FeatureContext{nullptr, *session_, ui_, store_});
        dialog_->show();
        Until([this] { return Text("status") == "Ready"; });
    }
    void Until(const std::function<bool()>& done) { ui_.PumpUntil(done); }
    QString Text(const char* label) const { return dialog_->findChild<QLabel*>(label)->text(); }
    QPushButton* Button(const char* name) const { return dialog_->findChild<QPushButton*>(name); }
    QTreeWidget* List() const { return dialog_->findChild<QTreeWidget*>("list"); }
    QComboBox* Rates() const { return dialog_->findChild<QComboBox*>("rate"); }
    QProgressBar* Progress() const { return dialog_->findChild<QProgressBar*>("progress"); }

    GuiEnvironment environment_;
    VirtualClock clock_;
    QtUiHost ui_{clock_};
    QtSettings store_;
    std::unique_ptr<sim::SimulatedInstrument> instrument_;
    std::unique_ptr<SimulatedDevice> device_;
    std::unique_ptr<CSession> session_;
    std::unique_ptr<CDlgRecorder> dialog_;
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::RecorderDialogTest, "recorder_dialog_test")
#include "recorder_dialog_test.moc"
