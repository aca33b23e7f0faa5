#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/qt_ui_host.h"
#include "gui/dialogs_screenshot.h"
#include "platform/clock.h"
#include "script/input_dialog.h"
#include "script/script_running_window.h"

namespace brennix {
namespace {

// Runs action on the modal window the next call brings up, from that window's own event loop.
void OnModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        action(modal);
    });
}

// Clicks the message box button whose text is buttonText and records what the box showed.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

void AnswerBox(SeenBox& seen, const QString& buttonText) {
    OnModal([&seen, buttonText](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box != nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), {}};
        QAbstractButton* chosen = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons << button->text().remove('&');
            if (button->text().remove('&') == buttonText)
                chosen = button;
        }
        if (chosen != nullptr)
            chosen->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    });
}

}  // namespace

class UiHostTest : public QObject {
    Q_OBJECT
  private slots:
    void messageBoxesMapButtonsAndIcons_data();
    void messageBoxesMapButtonsAndIcons();
    void replaceQuestionOffersYesToAll_data();
    void replaceQuestionOffersYesToAll();
    void inputDialogAnswersOrCancels();
    void scriptWindowsNestAndOnlyAskToStop();
    void waitCursorIsCounted();
    void pumpingDispatchesEventsForTheTimeAsked();

  private:
    VirtualClock clock_{500};
};

void UiHostTest::messageBoxesMapButtonsAndIcons_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("expectedTitle");
    QTest::addColumn<int>("expectedIcon");

    const auto ok = int(MessageButtons::kOk);
    const auto okCancel = int(MessageButtons::kOkCancel);
    const auto yesNo = int(MessageButtons::kYesNo);
    QTest::newRow("no caption shows the title")
        << ok << int(MessageIcon::kNone) << ""
        << "OK" << int(MessageResult::kOk) << "Brennix" << int(QMessageBox::NoIcon);
    QTest::newRow("cancel") << okCancel << int(MessageIcon::kExclamation) << ""
                            << "Cancel" << int(MessageResult::kCancel) << "Brennix"
                            << int(QMessageBox::Warning);
    QTest::newRow("escape cancels")
        << okCancel << int(MessageIcon::kInformation) << ""
        << "" << int(MessageResult::kCancel) << "Brennix" << int(QMessageBox::Information);
    QTest::newRow("yes") << yesNo << int(MessageIcon::kQuestion) << "Lose all changes?"
                         << "Yes" << int(MessageResult::kYes) << "Lose all changes?"
                         << int(QMessageBox::Question);
    QTest::newRow("escape says no")
        << yesNo << int(MessageIcon::kError) << "Com ERROR"
        << "" << int(MessageResult::kNo) << "Com ERROR" << int(QMessageBox::Critical);
}

void UiHostTest::messageBoxesMapButtonsAndIcons() {
    QFETCH(int, buttons);
    QFETCH(int, icon);
    QFETCH(QString, caption);
    QFETCH(QString, press);
    QFETCH(int, expected);
    QFETCH(QString, expectedTitle);
    QFETCH(int, expectedIcon);
    QtUiHost ui(clock_);
    SeenBox seen;
    AnswerBox(seen, press);

    const MessageResult result =
        ui.ShowMessage("Connection lost.\nPlease reconect to communication port!",
                       caption.toStdString(), MessageButtons(buttons), MessageIcon(icon));

    QCOMPARE(int(result), expected);
    QCOMPARE(seen.title, expectedTitle);
    QCOMPARE(seen.text, QString("Connection lost.\nPlease reconect to communication port!"));
    QCOMPARE(int(seen.icon), expectedIcon);
}

void UiHostTest::replaceQuestionOffersYesToAll_data() {
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("expected");
    QTest::newRow("yes") << "Yes" << int(ReplaceAnswer::kYes);
    QTest::newRow("no") << "No" << int(ReplaceAnswer::kNo);
    QTest::newRow("yes to all") << "Yes to all" << int(ReplaceAnswer::kYesToAll);
    QTest::newRow("escape") << "" << int(ReplaceAnswer::kNo);
}

void UiHostTest::replaceQuestionOffersYesToAll() {
    QFETCH(QString, press);
    QFETCH(int, expected);
    QtUiHost ui(clock_);
    SeenBox seen;
    AnswerBox(seen, press);

    QCOMPARE(int(ui.ConfirmFileReplace("/data/LOG001.ARG")), expected);
    QCOMPARE(seen.title, QString("Confirm file replace"));
    QCOMPARE(seen.text,
             QString("File /data/LOG001.ARG already exists!\nDo you want to replace it?"));
    QCOMPARE(seen.buttons.size(), 3);
}

void UiHostTest::inputDialogAnswersOrCancels() {
    QtUiHost ui(clock_);
    const std::vector<InputRow> rows = {{InputKind::kInput, {"Cell begin(m)", "1"}}};
    std::vector<std::string> results;

    OnModal([](QWidget* modal) {
        auto* dialog = qobject_cast<CDlgInput*>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QString("Input"));
        QTest::keyClicks(dialog->RowControl(0), "5");
        dialog->OkButton()->click();
    });
    QVERIFY(ui.AskInput(rows, results));
    QCOMPARE(results, std::vector<std::string>{"5"});

    OnModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QVERIFY(!ui.AskInput(rows, results));
}

void UiHostTest::scriptWindowsNestAndOnlyAskToStop() {
    QWidget owner;
    QtUiHost ui(clock_, &owner);
    int outerStops = 0;
    int innerStops = 0;

    ui.OpenScriptWindow(true, [&] { ++outerStops; });
    QPointer<CDlgScriptRunning> outer = ui.CurrentScriptWindow();
    QVERIFY(outer->isVisible());
    QCOMPARE(outer->windowTitle(), QString("script"));
    QVERIFY(!outer->isModal());
    QVERIFY(test::SaveScreenshot(*outer, "dialogs-script-running"));

    outer->StopButton()->click();
    outer->close();
    QTest::keyClick(outer, Qt::Key_Return);
    QCOMPARE(outerStops, 2);
    QVERIFY(outer->isVisible());

    ui.OpenScriptWindow(false, [&] { ++innerStops; });
    QPointer<CDlgScriptRunning> inner = ui.CurrentScriptWindow();
    QVERIFY(!inner->isVisible());
    inner->StopButton()->click();
    QCOMPARE(innerStops, 1);
    QCOMPARE(outerStops, 2);

    ui.CloseScriptWindow();
    QCOMPARE(ui.CurrentScriptWindow(), outer.data());
    ui.CloseScriptWindow();
    QVERIFY(!outer->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(outer.isNull() && inner.isNull());
    QCOMPARE(ui.CurrentScriptWindow(), nullptr);
    ui.CloseScriptWindow();
}

void UiHostTest::waitCursorIsCounted() {
    {
        QtUiHost ui(clock_);
        ui.SetWaitCursor(true);
        ui.SetWaitCursor(true);
        ui.SetWaitCursor(false);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        ui.SetWaitCursor(false);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        ui.SetWaitCursor(false);
        ui.SetWaitCursor(true);
    }
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void UiHostTest::pumpingDispatchesEventsForTheTimeAsked() {
    QtUiHost virtualHost(clock_);
    bool dispatched = false;
    QTimer::singleShot(0, [&] { dispatched = true; });
    const uint32_t start = clock_.TickCount();
    virtualHost.PumpMessages(3000);
    QVERIFY(dispatched);
    QCOMPARE(clock_.TickCount() - start, 3000u);

    SystemClock realClock;
    QtUiHost realHost(realClock);
    QElapsedTimer timer;
    timer.start();
    realHost.PumpMessages(40);
    QVERIFY(timer.elapsed() >= 39);
}

}  // namespace brennix

QTEST_MAIN(brennix::UiHostTest)
#include "dialogs_ui_host_test.moc"
