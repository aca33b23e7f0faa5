// The Echolux window: what a frame's snapshot shows in each view, the options menu, and a close
// that leaves the terminal quiet.
#include <QAction>
#include <QMenu>

#include "diagnostics/beam_processor.h"
#include "diagnostics/diagnostics_feature.h"
#include "diagnostics/frame_decoder.h"
#include "diagnostics/gui/echolux_dialog.h"
#include "diagnostics/gui/plot_widget.h"
#include "gui_fixture.h"
#include "link/output_window.h"
#include "link/serial_poll.h"
#include "sim/diagnostic_frame.h"
#include "support/no_new_threads.h"

namespace brennix::test {
namespace {

// Answers the window's file questions with one fixed name.
class FixedRecording : public EcholuxFileDialog {
  public:
    explicit FixedRecording(QString path) : EcholuxFileDialog(settings_), path_(std::move(path)) {}
    QString RecordingToOpen(QWidget*) override { return path_; }
    QString RecordingToSave(QWidget*) override { return path_; }

  private:
    QtSettings settings_;
    QString path_;
};

// What the window would show after the simulator's seventh ping.
std::shared_ptr<const EcholuxSnapshot> SeventhPing() {
    const sim::ConfigBlocks blocks(sim::Settings{});
    const std::string sent =
        sim::DiagnosticFrame::Build(sim::Model::kMirovan, blocks, 7, sim::FrameFault::kNone);
    // Firmware 3.8 leaves its checksum byte unset.
    const auto frame = DecodeInstrumentFrame(std::vector<uint8_t>(sent.begin(), sent.end()),
                                             FrameRules{.compareChecksum = false});
    BeamProcessor processor;
    for (int ping = 1; ping < 7; ++ping) {
        processor.Process(BeamFrame{});
    }
    auto snapshot = std::make_shared<EcholuxSnapshot>(processor.Process(frame.value()));
    snapshot->horizontalSpan = 22.0f;
    return snapshot;
}

QStringList MenuTexts(QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions()) {
        texts << (action->isSeparator() ? "-" : action->text() + (action->isChecked() ? "*" : ""));
    }
    return texts;
}

}  // namespace

class EcholuxDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        environment_.Reset();
        rig_ = std::make_unique<SimWindowRig>();
    }
    void cleanup() { rig_.reset(); }

    void viewShowsItsFigures_data() {
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("header");
        QTest::addColumn<bool>("peakColumns");
        QTest::addColumn<QString>("axis");
        QTest::addColumn<QString>("screenshot");
        QTest::newRow("Amp: noise and peaks") << 0 << "Noise" << true << "Amplitude (counts)"
                                              << "echolux_amp";
        QTest::newRow("Sine: min/max") << 1 << "Sin Min/Max" << false << "Sine (counts)"
                                       << "echolux_sine";
        QTest::newRow("Cosine: min/max") << 2 << "Cos Min/Max" << false << "Cosine (counts)"
                                         << "echolux_cosine";
    }
    void viewShowsItsFigures() {
        QFETCH(int, view);
        QFETCH(QString, header);
        QFETCH(bool, peakColumns);
        QFETCH(QString, axis);
        QFETCH(QString, screenshot);
        CDlgEcholux dialog(Context());
        const auto shown = SeventhPing();
        dialog.ShowSnapshot(shown);
        dialog.SetView(static_cast<CDlgEcholux::View>(view));
        dialog.show();
        QCOMPARE(dialog.PingText(), QString("Ping : 7"));
        QCOMPARE(dialog.ColumnHeader(0), header);
        QCOMPARE(dialog.ColumnHeader(1), peakColumns ? "Position (counts)" : "");
        QCOMPARE(dialog.ValueAxisCaption(), axis);
        const BeamFigures& f = shown->figures;
        const QString first[] = {QString::number(f.noise[1]),
                                 QString("%1/%2").arg(f.sinMin[1]).arg(f.sinMax[1]),
                                 QString("%1/%2").arg(f.cosMin[1]).arg(f.cosMax[1])};
        QCOMPARE(dialog.TableText(1, 0), first[view]);
        QCOMPARE(dialog.TableText(1, 1), peakColumns ? QString::number(f.peakPosition[1]) : "");
        QCOMPARE(dialog.TableText(1, 2), peakColumns ? QString::number(f.peakLevel[1]) : "");
        QCOMPARE(dialog.VisiblePlot().SampleCount(), 498);
        QVERIFY(dialog.VisiblePlot().isVisible());
        QVERIFY(SaveScreenshot(dialog, screenshot));
    }

    // The menu offers what fits the moment; a file open offers only its closing. Averaging
    // starts from a cleared display; a recording that cannot be opened is said.
    void optionsMenuFollowsTheState() {
        const QString path = environment_.FilePath("pings.ecx");
        CDlgEcholux dialog(Context());
        dialog.SetFileDialog(std::make_unique<FixedRecording>(path));
        auto menu = dialog.BuildOptionsMenu();
        QCOMPARE(MenuTexts(*menu), QStringList({"View", "Averaging", "-", "Open...", "Save..."}));
        QCOMPARE(MenuTexts(*menu->actions()[0]->menu()), QStringList({"Amp*", "Sine", "Cosine"}));
        menu->actions()[0]->menu()->actions()[2]->trigger();
        QCOMPARE(dialog.CurrentView(), CDlgEcholux::View::kCosine);

        dialog.ShowSnapshot(SeventhPing());
        dialog.SaveRecording();
        QVERIFY(QFile::exists(path));
        QCOMPARE(dialog.StatusText(), QString("Recording to pings.ecx"));
        menu = dialog.BuildOptionsMenu();
        QCOMPARE(MenuTexts(*menu), QStringList({"View", "Averaging", "-", "Close file"}));
        menu->actions()[3]->trigger();
        QCOMPARE(dialog.StatusText(), QString());

        dialog.ToggleAveraging();
        QCOMPARE(dialog.TableText(0, 0), QString("0/0"));
        QCOMPARE(dialog.PingText(), QString("Ping : 7"));
        QCOMPARE(MenuTexts(*dialog.BuildOptionsMenu())[1], QString("Averaging*"));

        // Playing the recording back counts its frames from the first.
        dialog.OpenPlayback();
        QCOMPARE(dialog.StatusText(), QString("Playing back pings.ecx"));
        QCOMPARE(dialog.PingText(), QString("Ping : 0"));
        menu = dialog.BuildOptionsMenu();
        QCOMPARE(MenuTexts(*menu).last(), QString("Close file"));
        menu->actions()[3]->trigger();
        dialog.SetFileDialog(std::make_unique<FixedRecording>("/no/such/folder/x.ecx"));
        const auto seen = AnswerNextMessage();
        dialog.OpenPlayback();
        QVERIFY(seen->text.startsWith("Unable to open /no/such/folder/x.ecx: No such file"));
        QCOMPARE(dialog.StatusText(), QString());
    }

    // Opened from the menu, the window shows the instrument's pings. Closed half-way through a
    // frame: the terminal's output stays detached until the service has let the frame end, so
    // nothing of it reaches the terminal, and the next command works.
    void closedMidFrameLeavesTheTerminalQuiet() {
        StringTerminalPane terminal;
        rig_->session.Link().Tap().SetOutputWindow(&terminal);
        QString shown;
        uint32_t firstShownAt = 0;
        // Closed mid-way through the frame after the first one shown.
        OnNextModal<CDlgEcholux>([&](CDlgEcholux* dialog) {
            auto* closer = new QTimer(dialog);
            connect(closer, &QTimer::timeout, dialog, [&, dialog, closer] {
                if (shown.isEmpty() && dialog->PingText() != "Ping : 0") {
                    shown = dialog->PingText();
                    firstShownAt = rig_->clock.TickCount();
                }
                if (!shown.isEmpty() && rig_->clock.TickCount() - firstShownAt >= 3000) {
                    closer->stop();
                    dialog->reject();
                }
            });
            closer->start(1);
        });
        {
            const VirtualTimeDriver time(rig_->clock);
            OpenFeatureWindow<DiagnosticsFeature>(Context());
        }
        QVERIFY(rig_->instrument.Received().find("Amp\r") != std::string::npos);
        QCOMPARE(shown, QStringLiteral("Ping : 1"));
        for (int poll = 0; poll < 60; ++poll) {
            rig_->clock.Sleep(100);
            SerialPoll::Run(rig_->session.Link());
        }
        QCOMPARE(terminal.Text(), std::string());
        QVERIFY(rig_->session.Instrument().SendCommand("Ver"));
        rig_->session.Link().Tap().SetOutputWindow(nullptr);
    }

    void aWorkerThatCannotStartIsSaid() {
        CDlgEcholux dialog(Context());
        const auto seen = AnswerNextMessage();
        const NoNewThreads none;
        QVERIFY(!dialog.Open());
        QCOMPARE(seen->text, QString("Unable to start thread"));
        QCOMPARE(seen->caption, QString("FATAL ERROR"));
    }

    // A path is the system's UTF-8, never 8-bit instrument text: its "ü" shows as "ü".
    void aPathOutsideAsciiIsShownAsItIs() {
        const QString path = QString::fromUtf8("/no/such/Messgerät/Müller.ecx");
        CDlgEcholux dialog(Context());
        dialog.SetFileDialog(std::make_unique<FixedRecording>(path));
        const auto seen = AnswerNextMessage();
        dialog.OpenPlayback();
        QVERIFY2(seen->text.startsWith("Unable to open " + path + ": No such file"),
                 qPrintable(seen->text));
    }

  private:
    FeatureContext Context() { return rig_->Context(); }

    GuiEnvironment environment_;
    std::unique_ptr<SimWindowRig> rig_;
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::EcholuxDialogTest, "echolux_dialog_test")
#include "echolux_dialog_test.moc"
