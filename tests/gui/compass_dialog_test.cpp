// The compass calibration dialog on the in-process simulator and virtual time: the simulated
// compass turns while the clock is moved on, the dialog's 300 ms timer shows it.

#include "compass/gui/compass_dialog.h"
#include "gui_fixture.h"

namespace brennix::test {

class CompassDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { rig_ = std::make_unique<SimWindowRig>(); }
    void cleanup() { rig_.reset(); }

    // Start shows the instructions and the attitude as the compass turns, Stop the scores;
    // Enter closes nothing, Escape closes once the BREAK has ended the calibration.
    void calibrationShowsAttitudeThenScores() {
        CDlgCompass dialog(Context());
        QVERIFY(dialog.Open());
        const QCursor* cursor = QApplication::overrideCursor();
        QVERIFY(cursor != nullptr && cursor->shape() == Qt::WaitCursor);
        dialog.show();
        Until([&] { return dialog.Text().startsWith("Compass initialized."); });
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(dialog.Text(), QString("Compass initialized.\nPress 'Start' to calibrate it!"));
        dialog.Start();
        QVERIFY(
            dialog.Text().startsWith("Begin slowly rotating the compass two full turns, varing"));
        Until([&] { return !dialog.Heading().isEmpty(); });
        QVERIFY(QRegularExpression("^-?\\d+\\.\\d\\d$").match(dialog.Pitch()).hasMatch());
        const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
        QCOMPARE(std::ranges::count(labels, QString("degrees"), &QLabel::text), 3);
        QVERIFY(SaveScreenshot(dialog, "compass_calibrating"));

        dialog.Stop();
        // The scores' wording is the replies' own test (ScoreReport).
        Until([&] { return dialog.Text().startsWith("Horizontal calibration score (0-9):"); });
        QVERIFY(SaveScreenshot(dialog, "compass_scores"));

        const size_t breaks = rig_->device.BreakTicks().size();
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY2(dialog.isVisible(), "Enter closes nothing");
        QTest::keyClick(&dialog, Qt::Key_Escape);
        Until([&] { return !dialog.isVisible(); });
        QVERIFY(rig_->device.BreakTicks().size() > breaks);
    }

    void compassThatDoesNotAnswerIsReported() {
        rig_->instrument.GetFaults().noCompass = true;
        CDlgCompass dialog(Context());
        const auto seen = AnswerNextMessage();
        QVERIFY(dialog.Open());
        const VirtualTimeDriver time(rig_->clock);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(seen->text, QString("Compass not present or is not responding properly"));
        QCOMPARE(seen->caption, QString("Brennix"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

  private:
    FeatureContext Context() { return rig_->Context(); }
    void Until(const std::function<bool()>& done) { rig_->Until(done); }

    GuiEnvironment environment_;
    std::unique_ptr<SimWindowRig> rig_;
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::CompassDialogTest, "compass_dialog_test")
#include "compass_dialog_test.moc"
