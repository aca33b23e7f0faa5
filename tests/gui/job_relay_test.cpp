// A worker's questions reach the person on the window thread, and the worker waits for the
// answer; the window stays responsive meanwhile. (Reports posted to the window thread are met by
// every feature window's test.)
#include <QTest>
#include <atomic>

#include "desktop/qt_job_relay.h"
#include "desktop/qt_ui_host.h"
#include "gui_fixture.h"
#include "platform/clock.h"
#include "platform/job.h"
#include "script/relayed_ui_host.h"

namespace brennix::test {

class JobRelayTest : public QObject {
    Q_OBJECT

  private slots:
    // Asked from the window thread itself, a blocking call across threads would deadlock: that
    // question is answered in place.
    void questionsAreAnsweredOnTheWindowThread() {
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
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::JobRelayTest, "job_relay_test")
#include "job_relay_test.moc"
