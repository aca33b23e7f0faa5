// QtUiHost: the engine's and the instrument's questions shown as Qt dialogs, the script-running
// windows.
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "app/qt_ui_host.h"
#include "gui_fixture.h"
#include "platform/clock.h"
#include "script/input_dialog.h"
#include "script/script_running_window.h"

Q_DECLARE_METATYPE(brennix::MessageButtons)
Q_DECLARE_METATYPE(brennix::MessageIcon)
Q_DECLARE_METATYPE(brennix::MessageResult)

namespace brennix::test {

class UiHostTest : public QObject {
    Q_OBJECT

  private slots:
    // Without a caption the box shows the program's name.
    void messageBoxesMapButtonsAndIcons_data() {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("press");
        QTest::addColumn<MessageResult>("expected");
        QTest::addColumn<QMessageBox::Icon>("shownIcon");
        QTest::newRow("escape cancels")
            << MessageButtons::kOkCancel << MessageIcon::kExclamation << ""
            << "" << MessageResult::kCancel << QMessageBox::Warning;
        QTest::newRow("yes") << MessageButtons::kYesNo << MessageIcon::kQuestion
                             << "Lose all changes?"
                             << "Yes" << MessageResult::kYes << QMessageBox::Question;
        QTest::newRow("escape says no")
            << MessageButtons::kYesNo << MessageIcon::kError << "Com ERROR"
            << "" << MessageResult::kNo << QMessageBox::Critical;
    }
    void messageBoxesMapButtonsAndIcons() {
        QFETCH(MessageButtons, buttons);
        QFETCH(MessageIcon, icon);
        QFETCH(QString, caption);
        QFETCH(QString, press);
        QFETCH(MessageResult, expected);
        QFETCH(QMessageBox::Icon, shownIcon);
        const auto seen = AnswerNextMessage(press);
        QVERIFY(ui_.ShowMessage("Line one\nline two", caption.toStdString(), buttons, icon) ==
                expected);
        QCOMPARE(seen->caption, caption.isEmpty() ? QStringLiteral("Brennix") : caption);
        QCOMPARE(seen->text, QStringLiteral("Line one\nline two"));
        QCOMPARE(seen->icon, shownIcon);
    }

    void cancelledInputDialogSaysSo() {
        std::vector<std::string> results;
        OnNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QVERIFY(!ui_.AskInput({{InputKind::kInput, {"Cell begin(m)", "1"}}}, results));
        QVERIFY(results.empty());
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

QTEST_MAIN(brennix::test::UiHostTest)
#include "dialogs_ui_host_test.moc"
