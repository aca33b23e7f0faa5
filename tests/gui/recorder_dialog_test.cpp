// The recorder manager's own behaviour on the in-process simulator and virtual time: what it shows
// and enables as the service reports, its questions, and its close once the rate is back.
#include <QProgressBar>

#include "gui_fixture.h"
#include "recorder/gui/recorder_dialog.h"
#include "sim/sim_recorder.h"

namespace brennix::test {

class RecorderDialogTest : public QObject {
    Q_OBJECT

  private slots:
    // Downloads land in the documents of a home of the test's own.
    void init() {
        environment_.Reset();
        rig_ = std::make_unique<SimWindowRig>();
    }
    void cleanup() {
        dialog_.reset();
        rig_.reset();
    }

    // Nothing starts while the listing runs; then the files at the saved rate, a download with
    // its Cancel button, a download asking before it replaces a file, and a close that puts the
    // line's rate back and keeps the chosen one. The buttons stay where they are, however long
    // the status grows, so a second click lands.
    void listsAtTheSavedRateDownloadsAndClosesAtTheLinesRate() {
        QSettings().setValue("Recorder/DownoadRate", 115200);
        dialog_ = std::make_unique<CDlgRecorder>(rig_->Context());
        dialog_->show();
        Until([this] { return Text("status") == "Reading directory..."; });
        QVERIFY(!Button("download")->isEnabled() && !Button("format")->isEnabled());
        Until([this] { return Text("status") == "Ready"; });
        QVERIFY(Button("download")->isEnabled() && Rates()->isEnabled());
        const QList<QRect> placed = Placed();
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
        const QString downloaded = QDir(CDlgRecorder::DownloadFolder()).filePath("TEST.000.mrv");
        QCOMPARE(ReadFile(downloaded).size(), 700);

        // Downloaded again: the question is the dialog's own, and No keeps the file, as said.
        QVERIFY(WriteFile(downloaded, "old"));
        List()->topLevelItem(1)->setSelected(false);
        const auto seen = AnswerNextMessage("No");
        Button("download")->click();
        Until([this] { return Button("download")->text() == "&Download"; });
        QCOMPARE(seen->caption, QStringLiteral("Confirm file replace"));
        QCOMPARE(seen->text, "File " + downloaded + " already exists!\nDo you want to replace it?");
        seen->buttons.sort();
        QCOMPARE(seen->buttons, (QStringList{"&No", "&Yes", "Yes to &all"}));
        QCOMPARE(ReadFile(downloaded), QByteArray("old"));
        QVERIFY(Text("detail").endsWith(
            "\nTEST.000.mrv  not downloaded: the file that was there is kept"));
        QCOMPARE(Progress()->value(), 300);
        QVERIFY(SaveScreenshot(*dialog_, "recorder-kept"));
        QCOMPARE(Placed(), placed);

        dialog_->reject();
        Until([this] { return !dialog_->isVisible(); });
        QCOMPARE(rig_->session.Link().GetBaudRate(), 9600u);
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

    // A rate the instrument refuses is said, and the choice goes back to the line's.
    void refusedRateLeavesTheChoiceAsItWas() {
        Open();
        QCOMPARE(Rates()->currentText(), QStringLiteral("57600"));
        rig_->instrument.GetFaults().refuseBaud = true;
        const auto refusal = AnswerNextMessage("OK");
        Rates()->setCurrentIndex(Rates()->findText("115200"));
        emit Rates()->activated(Rates()->currentIndex());
        Until([&refusal] { return !refusal->text.isEmpty(); });
        QCOMPARE(refusal->text,
                 QStringLiteral("Failed to change baud rate\n Please try a different baud rate!"));
        QCOMPARE(Rates()->currentText(), QStringLiteral("57600"));
        QCOMPARE(rig_->session.Link().GetBaudRate(), 57600u);
    }

    // A port that cannot change rates offers only the line's own and says why.
    void aPortThatCannotChangeRatesOffersTheLinesOwn() {
        rig_->device.SetCapabilities({false, false, "raw TCP"});
        Open();
        QCOMPARE(Rates()->count(), 1);
        QCOMPARE(Rates()->currentText(), QStringLiteral("9600"));
        QCOMPARE(Rates()->toolTip(), QStringLiteral("raw TCP"));
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

    // A download folder whose path is outside ASCII (here the home's name) is named as it is.
    void theReplaceQuestionNamesAFolderOutsideAscii() {
        struct Home {
            QByteArray kept = qgetenv("HOME");
            ~Home() { qputenv("HOME", kept); }
        } home;
        qputenv("HOME", environment_.FilePath(QString::fromUtf8("Jürgen")).toUtf8());
        const QString downloaded = QDir(CDlgRecorder::DownloadFolder()).filePath("TEST.000.mrv");
        QVERIFY(QDir().mkpath(QFileInfo(downloaded).path()) && WriteFile(downloaded, "old"));
        Open();
        List()->topLevelItem(2)->setSelected(true);
        const auto seen = AnswerNextMessage("No");
        Button("download")->click();
        Until([this] { return Button("download")->text() == "&Download"; });
        QVERIFY(downloaded.contains(QString::fromUtf8("/Jürgen/")));
        QCOMPARE(seen->text, "File " + downloaded + " already exists!\nDo you want to replace it?");
    }

  private:
    void Open() {
        dialog_ = std::make_unique<CDlgRecorder>(rig_->Context());
        dialog_->show();
        Until([this] { return Text("status") == "Ready"; });
    }
    // Where the buttons and the rate are in the window.
    QList<QRect> Placed() const {
        QList<QRect> placed;
        for (const QWidget* control :
             std::initializer_list<const QWidget*>{Button("download"), Button("format"), Rates()}) {
            placed << QRect(control->mapTo(dialog_.get(), QPoint()), control->size());
        }
        return placed;
    }
    void Until(const std::function<bool()>& done) { rig_->Until(done); }
    QString Text(const char* label) const { return dialog_->findChild<QLabel*>(label)->text(); }
    QPushButton* Button(const char* name) const { return dialog_->findChild<QPushButton*>(name); }
    QTreeWidget* List() const { return dialog_->findChild<QTreeWidget*>("list"); }
    QComboBox* Rates() const { return dialog_->findChild<QComboBox*>("rate"); }
    QProgressBar* Progress() const { return dialog_->findChild<QProgressBar*>("progress"); }

    GuiEnvironment environment_;
    std::unique_ptr<SimWindowRig> rig_;
    std::unique_ptr<CDlgRecorder> dialog_;
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::RecorderDialogTest, "recorder_dialog_test")
#include "recorder_dialog_test.moc"
