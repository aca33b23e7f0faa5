// QtUiHost's dialogs: the Input dialog's rows, message boxes (also a worker's, through
// the job relay), the script-running windows.
#include <QCheckBox>
#include <QPointer>
#include <atomic>
#include <utility>

#include "desktop_ui/qt_job_relay.h"
#include "gui_fixture.h"
#include "platform/job.h"
#include "script/gui/input_dialog.h"
#include "script/gui/script_running_window.h"
#include "script/relayed_ui_host.h"

Q_DECLARE_METATYPE(brennix::InputKind)

namespace brennix::test {
namespace {

InputRow Row(InputKind kind, const QStringList& arguments) {
    InputRow row{kind, {}};
    for (const QString& argument : arguments) {
        row.arguments.push_back(argument.toLatin1().toStdString());
    }
    return row;
}

}  // namespace

class UiHostTest : public QObject {
    Q_OBJECT

  private slots:
    // The user's action on the row's control: "type:<text>", "choose:<index>", "toggle" or "".
    void resultOfOneRow_data() {
        QTest::addColumn<InputKind>("kind");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("expected");
        QTest::newRow("typing replaces the selected default")
            << InputKind::kInput << QStringList{"Cell begin(m)", "1.5"} << "type:2.25"
            << "2.25";
        QTest::newRow("8-bit default comes back as it was")
            << InputKind::kInput << QStringList{"Temp", QString::fromLatin1("20\xB0")} << ""
            << QString::fromLatin1("20\xB0");
        QTest::newRow("select keeps the given order")
            << InputKind::kSelect << QStringList{"Coord system", "BEAM", "XYZ", "ENU"} << "choose:2"
            << "ENU";
        QTest::newRow("check matches the current value in any case")
            << InputKind::kCheck << QStringList{"Auto sleep", "on", "ON", "OFF"} << ""
            << "ON";
        QTest::newRow("clearing the box gives the clear value")
            << InputKind::kCheck << QStringList{"Auto sleep", "ON", "ON", "OFF"} << "toggle"
            << "OFF";
        QTest::newRow("checking the box gives the checked value")
            << InputKind::kCheck << QStringList{"Enable profiling", "NO", "YES", "NO"} << "toggle"
            << "YES";
    }
    void resultOfOneRow() {
        QFETCH(InputKind, kind);
        QFETCH(QStringList, arguments);
        QFETCH(QString, action);
        QFETCH(QString, expected);
        CDlgInput dialog({Row(kind, arguments)});
        QWidget* control = dialog.RowControl(0);
        if (action.startsWith("type:")) {
            QTest::keyClicks(control, action.mid(5));
        } else if (action.startsWith("choose:")) {
            qobject_cast<QComboBox*>(control)->setCurrentIndex(action.mid(7).toInt());
        } else if (action == "toggle") {
            qobject_cast<QCheckBox*>(control)->click();
        }
        dialog.OkButton()->click();
        QCOMPARE(dialog.Results(), std::vector<std::string>{expected.toLatin1().toStdString()});
    }

    // Escape (or the close box) answers Cancel or No; without a caption the box shows the
    // program's name. (The other answers, captions and icons are met by the windows' tests.)
    void escapeAnswersCancelOrNo() {
        for (const auto& [buttons, expected] :
             {std::pair{MessageButtons::kOkCancel, MessageResult::kCancel},
              std::pair{MessageButtons::kYesNo, MessageResult::kNo}}) {
            const auto seen = AnswerNextMessage("");
            QVERIFY(ui_.ShowMessage("Line one\nline two", "", buttons, MessageIcon::kQuestion) ==
                    expected);
            QCOMPARE(seen->caption, QStringLiteral("Brennix"));
            QCOMPARE(seen->text, QStringLiteral("Line one\nline two"));
        }
    }

    // Escape and Cancel both say the dialog was cancelled, with no results.
    void cancelledInputDialogSaysSo() {
        for (const bool button : {false, true}) {
            std::vector<std::string> results;
            OnNextModal<CDlgInput>([button](CDlgInput* input) {
                if (button) {
                    input->CancelButton()->click();
                } else {
                    QTest::keyClick(input, Qt::Key_Escape);
                }
            });
            QVERIFY(!ui_.AskInput({{InputKind::kInput, {"Cell begin(m)", "1"}}}, results));
            QVERIFY(results.empty());
        }
    }

    // A worker's question reaches the person on the window thread through the relay while the
    // worker waits for the answer; asked from the window thread itself, where a blocking call
    // across threads would deadlock, it is answered in place. (Reports posted to the window
    // thread are met by every feature window's test.)
    void workersQuestionsAreAnsweredOnTheWindowThread() {
        SystemClock clock;
        QWidget window;
        QtUiHost windowHost(clock, &window);
        QtJobRelay relay(window, clock);
        RelayedUiHost workerHost(windowHost, relay, clock);
        const auto seen = AnswerNextMessage("No");
        std::atomic<bool> done = false;
        MessageResult answer = MessageResult::kOk;
        Job job(clock);
        job.Start([&](const StopEvent&) {
            answer = workerHost.ShowMessage("Error reading 'A.000'\nDo you want to continue?",
                                            "Error", MessageButtons::kYesNo, MessageIcon::kError);
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
        QVERIFY(job.WaitFinished(1000));
        QCOMPARE(answer, MessageResult::kNo);
        QCOMPARE(seen->caption, QString("Error"));
        QCOMPARE(seen->text, QString("Error reading 'A.000'\nDo you want to continue?"));

        AnswerNextMessage("Yes");
        QCOMPARE(
            workerHost.ShowMessage("Replace?", "", MessageButtons::kYesNo, MessageIcon::kQuestion),
            MessageResult::kYes);
    }

    // Stop, the close box and Enter only ask to stop; the windows go when the host closes them.
    void scriptWindowsNestAndOnlyAskToStop() {
        QWidget owner;
        QtUiHost ui(clock_, &owner);
        int outerStops = 0;
        ui.OpenScriptWindow(true, [&] { ++outerStops; });
        QPointer<CDlgScriptRunning> outer = ui.CurrentScriptWindow();
        QVERIFY(outer->isVisible() && !outer->isModal());
        outer->StopButton()->click();
        outer->close();
        QTest::keyClick(outer, Qt::Key_Return);
        QCOMPARE(outerStops, 2);
        QVERIFY(outer->isVisible());

        int innerStops = 0;
        ui.OpenScriptWindow(false, [&] { ++innerStops; });
        QPointer<CDlgScriptRunning> inner = ui.CurrentScriptWindow();
        QVERIFY(!inner->isVisible());
        inner->StopButton()->click();
        QCOMPARE(innerStops, 1);
        QCOMPARE(outerStops, 2);

        ui.CloseScriptWindow();
        QCOMPARE(ui.CurrentScriptWindow(), outer.data());
        ui.CloseScriptWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(outer.isNull() && inner.isNull());
        ui.CloseScriptWindow();
    }

  private:
    GuiEnvironment environment_;
    VirtualClock clock_{500};
    QtUiHost ui_{clock_};
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::UiHostTest, "dialogs_ui_host_test")
#include "dialogs_ui_host_test.moc"
