// The recorder manager on the in-process simulator in real time, with its jobs on their own
// threads: the listing at the saved rate, a download, a cancel that keeps the partial file, the
// replace question, a refused rate, a format, and the Setup menu's way in and out.
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "desktop/feature_launcher.h"
#include "desktop/qt_ui_host.h"
#include "gui_fixture.h"
#include "link/output_window.h"
#include "platform/qt_settings.h"
#include "recorder/recorder_dialog.h"
#include "script/session.h"
#include "sim/sim_recorder.h"
#include "sim/simulated_device.h"
#include "sim/simulated_instrument.h"

namespace brennix::test {

namespace {

constexpr int kLongMs = 30000;

QByteArray Data(const std::string& data) {
    return QByteArray(data.data(), static_cast<qsizetype>(data.size()));
}

}  // namespace

class RecorderDialogTest : public QObject {
    Q_OBJECT

  private slots:
    // Downloads land in the documents of a home of the test's own.
    void initTestCase() { qputenv("HOME", environment_.FilePath("home").toUtf8()); }

    void init() {
        environment_.Reset();
        QDir(environment_.FilePath("home")).removeRecursively();
        instrument_ = std::make_unique<sim::SimulatedInstrument>(sim::Settings{.formatMs = 1500});
        device_ = std::make_unique<SimulatedDevice>(*instrument_, clock_);
        session_ = std::make_unique<CSession>(*device_, clock_, ui_);
        QVERIFY(session_->Link().Open(SimulatedDevice::kPortName, 9600));
        session_->Link().Tap().SetOutputWindow(&pane_);
    }
    void cleanup() {
        dialog_.reset();
        session_.reset();
    }

    void listsAtTheSavedRateAndDownloadsTheSelectedFiles() {
        QSettings().setValue("Recorder/DownoadRate", 115200);
        Open();
        QCOMPARE(Text("fileCount"), QStringLiteral("Files: 3"));
        QCOMPARE(Text("usedSpace"), QStringLiteral("Used space 256.0 kB / 4.00 MB"));
        const QTreeWidgetItem* first = List()->topLevelItem(0);
        QCOMPARE(first->text(0), QStringLiteral("DEP1.000"));
        QCOMPARE(first->text(1), QStringLiteral("98304"));
        QCOMPARE(first->text(2), QStringLiteral("03/14/2026"));
        QCOMPARE(first->text(3), QStringLiteral("09:30"));
        QCOMPARE(session_->Link().GetBaudRate(), 115200u);

        List()->topLevelItem(1)->setSelected(true);
        List()->topLevelItem(2)->setSelected(true);
        Button("download")->click();
        QCOMPARE(Button("download")->text(), QStringLiteral("Cancel"));
        QTRY_COMPARE_WITH_TIMEOUT(Text("status"), QStringLiteral("Done"), kLongMs);
        QTRY_COMPARE(Button("download")->text(), QStringLiteral("Download"));
        QVERIFY(Text("detail").startsWith("Total time 00:00:0"));
        QCOMPARE(dialog_->findChild<QProgressBar*>("progress")->value(), 300);
        const QDir folder(CDlgRecorder::DownloadFolder());
        QVERIFY(folder.absolutePath().startsWith(environment_.FilePath("home")));
        QCOMPARE(ReadFile(folder.filePath("DEP1.001.mrv")), Data(Recorded(1)));
        QCOMPARE(ReadFile(folder.filePath("TEST.000.mrv")), Data(Recorded(2)));
        QVERIFY(!folder.exists("DEP1.000.mrv"));

        dialog_->reject();
        QVERIFY(!dialog_->isVisible());
        dialog_.reset();
        QCOMPARE(QSettings().value("Recorder/DownoadRate").toUInt(), 115200u);
    }

    // Closing asks first; cancelling keeps what came; the instrument is told.
    void cancellingKeepsThePartialFile() {
        Open();
        List()->topLevelItem(0)->setSelected(true);
        Button("download")->click();
        QTRY_VERIFY_WITH_TIMEOUT(dialog_->findChild<QProgressBar*>("progress")->value() > 30,
                                 kLongMs);
        QVERIFY(SaveScreenshot(*dialog_, "recorder-downloading"));

        auto refused = AnswerNextMessage("No");
        dialog_->reject();
        QCOMPARE(refused->caption, QStringLiteral("Cancel Download ?"));
        QCOMPARE(refused->text,
                 QStringLiteral("Download in progress\nAre you sure that you want to cancel it?"));
        QVERIFY(dialog_->isVisible());

        auto agreed = AnswerNextMessage("Yes");
        Button("download")->click();
        QTRY_COMPARE_WITH_TIMEOUT(Text("status"), QStringLiteral("Cancelled"), kLongMs);
        QTRY_COMPARE(Button("download")->text(), QStringLiteral("Download"));
        const qint64 kept = QFileInfo(QDir(CDlgRecorder::DownloadFolder()), "DEP1.000.mrv").size();
        QVERIFY2(kept > 0 && kept < 98304 && kept % 1024 == 0, QByteArray::number(kept));
        QCOMPARE(ReadFile(QDir(CDlgRecorder::DownloadFolder()).filePath("DEP1.000.mrv")),
                 Data(Recorded(0).substr(0, static_cast<size_t>(kept))));
        const std::string& sent = instrument_->Received();
        QCOMPARE(QString::fromStdString(sent.substr(sent.rfind('a') + 1)), QStringLiteral("bbb"));
        dialog_->reject();
        QVERIFY(!dialog_->isVisible());
    }

    void replaceQuestionKeepsTheFileOnNo() {
        QDir().mkpath(CDlgRecorder::DownloadFolder());
        const QString existing = QDir(CDlgRecorder::DownloadFolder()).filePath("TEST.000.mrv");
        QVERIFY(WriteFile(existing, "old"));
        Open();
        List()->topLevelItem(2)->setSelected(true);
        QStringList buttons;
        QString caption;
        QString text;
        OnNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
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
        QTRY_COMPARE_WITH_TIMEOUT(Text("status"), QStringLiteral("Done"), kLongMs);
        QCOMPARE(caption, QStringLiteral("Confirm file replace"));
        QCOMPARE(text, "File " + existing + " already exists!\nDo you want to replace it?");
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"&No", "&Yes", "Yes to &all"}));
        QCOMPARE(ReadFile(existing), QByteArray("old"));
    }

    // A rate the instrument refuses is said, and the line stays where it was.
    void refusedRateLeavesTheLineAndTheChoiceAsTheyWere() {
        Open();
        QCOMPARE(Rates()->currentText(), QStringLiteral("57600"));
        instrument_->GetFaults().refuseBaud = true;
        auto refusal = AnswerNextMessage("OK");
        Rates()->setCurrentIndex(Rates()->findText("115200"));
        emit Rates()->activated(Rates()->currentIndex());
        QCOMPARE(refusal->text,
                 QStringLiteral("Failed to change baud rate\n Please try a different baud rate!"));
        QCOMPARE(refusal->caption, QStringLiteral("Error"));
        QCOMPARE(Rates()->currentText(), QStringLiteral("57600"));
        QCOMPARE(session_->Link().GetBaudRate(), 57600u);
    }

    void formatAsksFirstThenEmptiesTheList() {
        Open();
        auto declined = AnswerNextMessage("Cancel");
        Button("format")->click();
        QCOMPARE(declined->caption, QStringLiteral("Format?"));
        QCOMPARE(List()->topLevelItemCount(), 3);

        auto accepted = AnswerNextMessage("OK");
        Button("format")->click();
        QCOMPARE(List()->topLevelItemCount(), 0);
        QCOMPARE(Text("fileCount"), QStringLiteral("Files: none"));
        QTRY_COMPARE_WITH_TIMEOUT(Text("status"), QStringLiteral("Done"), kLongMs);
        QCOMPARE(dialog_->findChild<QProgressBar*>("progress")->value(), 100);
        QTRY_COMPARE(Button("download")->text(), QStringLiteral("Download"));
    }

    // From the Setup menu: the instrument check, the dialog, and afterwards the line back at its
    // rate with the terminal showing the traffic again.
    void setupMenuOpensItAndRestoresTheLineAfterwards() {
        const auto entries = FeatureEntries();
        const auto recorder = std::find_if(entries.begin(), entries.end(), [](const auto& entry) {
            return entry.menuText == "&Recorder";
        });
        QVERIFY(recorder != entries.end());
        QTimer::singleShot(0, [this] {
            auto* dialog = qobject_cast<CDlgRecorder*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QTRY_COMPARE_WITH_TIMEOUT(dialog->findChild<QLabel*>("status")->text(),
                                      QStringLiteral("Ready"), kLongMs);
            QCOMPARE(session_->Link().GetBaudRate(), 57600u);
            pane_.SetText("");
            dialog->reject();
        });
        LaunchFeature(*recorder, FeatureContext{nullptr, *session_, ui_, store_});
        QCOMPARE(session_->Link().GetBaudRate(), 9600u);
        QVERIFY(session_->Instrument().CommandOk("SaveSetup", 2000));
        // The rate change went only to the log; the terminal shows what follows.
        QVERIFY(pane_.Text().find("BAUD") == std::string::npos);
        QVERIFY(pane_.Text().find("SaveSetup") != std::string::npos);
    }

  private:
    void Open() {
        dialog_ = std::make_unique<CDlgRecorder>(FeatureContext{nullptr, *session_, ui_, store_});
        dialog_->show();
        QTRY_COMPARE_WITH_TIMEOUT(Text("status"), QStringLiteral("Ready"), kLongMs);
    }
    QString Text(const char* label) const { return dialog_->findChild<QLabel*>(label)->text(); }
    QPushButton* Button(const char* name) const { return dialog_->findChild<QPushButton*>(name); }
    QTreeWidget* List() const { return dialog_->findChild<QTreeWidget*>("list"); }
    QComboBox* Rates() const { return dialog_->findChild<QComboBox*>("rate"); }
    const std::string& Recorded(size_t index) const {
        return instrument_->Recorder().Files()[index].data;
    }

    GuiEnvironment environment_;
    SystemClock clock_;
    QtUiHost ui_{clock_};
    QtSettings store_;
    StringTerminalPane pane_;
    std::unique_ptr<sim::SimulatedInstrument> instrument_;
    std::unique_ptr<SimulatedDevice> device_;
    std::unique_ptr<CSession> session_;
    std::unique_ptr<CDlgRecorder> dialog_;
};

}  // namespace brennix::test

QTEST_MAIN(brennix::test::RecorderDialogTest)
#include "recorder_dialog_test.moc"
