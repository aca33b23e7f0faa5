// The program against the simulated instrument: start-up settings, the command line, the log file,
// command files, the Commands menu, connecting, and what is refused while a script runs.
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QTextBrowser>
#include <QTextTable>
#include <algorithm>
#include <array>

#include "desktop/brennix_app.h"
#include "desktop/color_edit_widget.h"
#include "desktop/connect_dialog.h"
#include "desktop/deployment_records_dialog.h"
#include "desktop/file_dialogs.h"
#include "desktop/help_window.h"
#include "desktop/terminal_font.h"
#include "desktop/terminal_menus.h"
#include "desktop/terminal_status_bar.h"
#include "desktop/terminal_window.h"
#include "desktop_ui/remembered_folder.h"
#include "gui_fixture.h"
#include "link/link_lease.h"
#include "platform/ostrel_data_folder.h"
#include "records/record_files.h"
#include "script/gui/input_dialog.h"
#include "script/gui/script_running_window.h"

namespace brennix::test {
namespace {

constexpr int kReplyMs = 5000;
// The longest terminal work a test runs: a command file with a #WAIT.
constexpr int kWorkMs = 15000;

// Answers the terminal's file questions with one fixed name.
class FixedFileName : public FileDialogs {
  public:
    explicit FixedFileName(QString path) : FileDialogs(settings_), path_(std::move(path)) {}
    QString LogFileToOpen(QWidget*) override { return path_; }
    QString CommandFileToRun(QWidget*) override { return path_; }

  private:
    QtSettings settings_;
    QString path_;
};

}  // namespace

class TerminalWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        environment_.Reset();
        StartApp();
    }
    void cleanup() { app_.reset(); }

    // Defaults on a fresh machine; the unit system chosen is written only at the end, a saved
    // font size out of range is taken as the first.
    void firstStartDefaultsAndUnitsStoredAtExit() {
        QCOMPARE(app_->Units(), UnitSystem::kEnglish);
        QVERIFY(Menus().english->isChecked() && Menus().rs232->isChecked());
        QVERIFY(Menus().openLog->isEnabled() && !Menus().closeLog->isEnabled());
        QCOMPARE(Terminal().OutputPane().font().pointSize(), TerminalFontForSize(0).pointSize());
        QCOMPARE(Terminal().windowTitle(), QStringLiteral("Brennix v" BRENNIX_VERSION));
        QVERIFY(
            Pane().starts_with("Welcome to Brennix!\r\nDiscover how easy it is to use the new "
                               "line of Ostrel software !!"));
        QVERIFY(Pane().ends_with("\r\nConnected to SIM at 9600\r\n"));
        QVERIFY(SaveScreenshot(Terminal(), "terminal"));

        Menus().metric->trigger();
        QVERIFY(!QSettings().contains("Settings/UnitSystem"));
        app_->End();
        QCOMPARE(QSettings().value("Settings/UnitSystem").toInt(), 0);
        QSettings().setValue("Terminal/Font", 7);  // out of range: the first size
        StartApp();
        QCOMPARE(app_->Units(), UnitSystem::kMetric);
        QCOMPARE(Terminal().OutputPane().font().pointSize(), TerminalFontForSize(0).pointSize());
        QVERIFY(Menus().metric->isChecked() && !Menus().english->isChecked());
    }

    // The reply shows and reaches the log file, which starts empty; a dialog's own exchange
    // reaches the log but not the terminal. What was sent is offered again in the next run, most
    // recent first.
    void typedCommandIsAnsweredLoggedAndRemembered() {
        const QString logPath = environment_.FilePath("session.log");
        QVERIFY(WriteFile(logPath, "yesterday's log\n"));
        Terminal().SetFileDialogs(std::make_unique<FixedFileName>(logPath));
        Menus().openLog->trigger();
        QVERIFY(!Menus().openLog->isEnabled() && Menus().closeLog->isEnabled());

        const size_t shownBefore = Pane().size();
        Type("Ver");
        QVERIFY(Received().find("Ver\r") != std::string::npos);
        QTRY_VERIFY_WITH_TIMEOUT(Pane().find("Mirovan") != std::string::npos, kReplyMs);
        QTRY_VERIFY_WITH_TIMEOUT(Pane().ends_with(">"), kReplyMs);
        const std::string shownWhileLogging = Pane().substr(shownBefore);

        CSerialLink& link = Terminal().Link();
        OutputWindow* output = link.Tap().SetOutputWindow(nullptr);
        QVERIFY(link.Write("Show System", 100, true));
        std::array<char, 4000> reply{};
        QVERIFY(link.ReadUntil(reply, ">", kReplyMs, '\0', true));
        link.Tap().SetOutputWindow(output);
        const std::string detached(reply.data());

        Menus().closeLog->trigger();
        QVERIFY(Menus().openLog->isEnabled() && !Menus().closeLog->isEnabled());
        // The log ends each bare CR with an LF, so that text tools read its lines.
        std::string logged = shownWhileLogging + detached;
        for (size_t at = logged.find('\r'); at != std::string::npos;
             at = logged.find('\r', at + 1)) {
            if (at + 1 == logged.size() || logged[at + 1] != '\n') {
                logged.insert(at + 1, "\n");
            }
        }
        QCOMPARE(ReadFile(logPath).toStdString(), logged);
        QVERIFY(Pane().find(detached) == std::string::npos);

        Type("Show Conf");
        QVERIFY(Terminal().CommandLine().currentText().isEmpty());
        StartApp();
        QCOMPARE(ReadFile(QDir(environment_.DataFolder()).filePath("cmd.ini")),
                 QByteArray("Show Conf\nVer\n"));

        // As in a shell, Up goes back in time and Down forward again, to what was being typed;
        // neither sends anything. Choosing an entry sends it.
        QComboBox& line = Terminal().CommandLine();
        line.setEditText("Sho");
        QStringList shown;
        for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down,
                                  Qt::Key_Down, Qt::Key_Up}) {
            QTest::keyClick(line.lineEdit(), key);
            shown << line.currentText();
        }
        QCOMPARE(shown,
                 QStringList({"Show Conf", "Ver", "Ver", "Show Conf", "Sho", "Sho", "Show Conf"}));
        QVERIFY(Received().empty());
        emit line.activated(1);
        QTRY_COMPARE(line.itemText(0), QStringLiteral("Ver"));
        Settle();
        QVERIFY(Received().find("Ver\r") != std::string::npos);
    }

    // A Commands entry that asks for a value sends what was typed into its Input dialog.
    void commandsEntryAskingForInputSendsTheValue() {
        QAction* cellBegin = Menus().commands->actions().at(5)->menu()->actions().at(2);
        QCOMPARE(cellBegin->text(), QStringLiteral("CellBegin"));
        OnNextModal([](QWidget* modal) {
            auto* input = qobject_cast<CDlgInput*>(modal);
            QVERIFY(input != nullptr);
            qobject_cast<QLineEdit*>(input->RowControl(0))->setText("2.5");
            input->OkButton()->click();
        });
        cellBegin->trigger();
        Settle();
        QVERIFY(Received().starts_with("cb\r"));
        QVERIFY(Received().find("cb 2.5\r") != std::string::npos);
    }

    // A file the command file reader refuses is said with its reason, and nothing is sent. While
    // a command file waits, nothing else may talk to the instrument (nor a Setup menu feature);
    // Stop ends the file there, and the terminal takes commands again.
    void commandFilesRefusedOrStoppedAndNothingElseRunsMeanwhile() {
        const QString refused = environment_.FilePath("setup.cmd");
        QVERIFY(WriteFile(refused, QByteArray("Ver\r\n\x89PNG\x1A\n", 11)));
        Terminal().SetFileDialogs(std::make_unique<FixedFileName>(refused));
        const auto seen = AnswerNextMessage();
        Menus().runCommandFile->trigger();
        QCOMPARE(seen->text, "Cannot run the command file\n" + refused +
                                 ":\nit is not a text file (byte 0x1A at offset 9)");
        QVERIFY(Received().empty());

        const QString path = environment_.FilePath("slow.cmd");
        QVERIFY(WriteFile(path, "Ver\r\n#WAIT 10\r\nShow Conf\r\n"));
        Terminal().SetFileDialogs(std::make_unique<FixedFileName>(path));
        QStringList refusals;
        QTimer::singleShot(300, this, [&] {
            const std::string received = Received();
            const std::function<void()> attempts[] = {
                [&] { TypeOnly("Ver"); },
                [&] { Terminal().RunCommandsEntry(1126); },
                [&] { Terminal().SendBreakToInstrument(); },
                [&] { SetupMenuEntry("&Compass")->trigger(); },
                [&] { QVERIFY(!Terminal().close()); },
            };
            for (const auto& attempt : attempts) {
                const auto seen = AnswerNextMessage();
                attempt();
                refusals << seen->text;
            }
            QCOMPARE(Received(), received);
            auto* window = Terminal().findChild<CDlgScriptRunning*>();
            QVERIFY(window != nullptr && window->isVisible());
            window->StopButton()->click();
        });
        Menus().runCommandFile->trigger();
        Settle();
        QCOMPARE(refusals, QStringList(5, "A script is running. Stop it first."));
        QVERIFY(Received().starts_with("Ver\r"));
        QVERIFY(Received().find("Show Conf") == std::string::npos);
        QVERIFY(!Terminal().Service().Busy());
        Type("Show Conf");
        QVERIFY(Received().find("Show Conf\r") != std::string::npos);
    }

    // Tools > Time stamps is kept from run to run and reaches the link's log (what a stamp looks
    // like is the link's own test: SerialLinkLog).
    void logTimeStampsAreKeptFromRunToRun() {
        QVERIFY(!Menus().logTimeStamps->isChecked());
        QVERIFY(!Terminal().Link().Tap().LogTimeStamps());
        Menus().logTimeStamps->trigger();
        QVERIFY(Terminal().Link().Tap().LogTimeStamps());
        StartApp();
        QVERIFY(Menus().logTimeStamps->isChecked());
        QVERIFY(Terminal().Link().Tap().LogTimeStamps());
    }

    // The bar shows the connection, the address, the log and the script state as they change;
    // a window only open over the terminal is no work on the line. The connect dialog's own
    // messages stay out of the terminal, its outcome is reported once.
    void statusBarAndTerminalFollowTheConnectionLogAndScript() {
        TerminalStatusBar& bar = Terminal().StatusBar();
        QCOMPARE(bar.ConnectionText(), QStringLiteral("SIM at 9600 baud"));
        QCOMPARE(bar.AddressText(), QStringLiteral("RS-232"));
        QCOMPARE(bar.LogText(), QStringLiteral("No log"));
        QCOMPARE(bar.ScriptText(), QStringLiteral("Ready"));

        const QString logPath = environment_.FilePath("bar.log");
        Terminal().SetFileDialogs(std::make_unique<FixedFileName>(logPath));
        Menus().openLog->trigger();
        QCOMPARE(bar.LogText(), QStringLiteral("Log bar.log"));
        QCOMPARE(bar.findChild<QLabel*>("log")->toolTip(), logPath);

        QString whileRunning;
        QTimer::singleShot(2 * CDlgTerminal::kPollIntervalMs, this,
                           [&] { whileRunning = bar.ScriptText(); });
        Type("#WAIT 2");
        QCOMPARE(whileRunning, QStringLiteral("Script running"));

        QStringList whileOpen;
        const auto waitAndLook = [&] {
            QTest::qWait(2 * CDlgTerminal::kPollIntervalMs);
            whileOpen << bar.ScriptText();
        };
        OnNextModal([&](QWidget* modal) {
            QTRY_COMPARE(modal->findChild<QLabel*>("status")->text(), QStringLiteral("Ready"));
            waitAndLook();
            modal->close();
        });
        SetupMenuEntry("&Recorder")->trigger();

        const size_t shownBefore = Pane().size();
        OnNextModal([&](QWidget* modal) {
            waitAndLook();
            modal->findChild<QComboBox*>("rate")->setCurrentText("19200");
            modal->findChild<QLineEdit*>("rs485")->setText("4");
            modal->findChild<QPushButton*>("connect")->click();
        });
        Terminal().Connect();
        QCOMPARE(whileOpen, QStringList({"Ready", "Ready"}));
        QCOMPARE(Pane().substr(shownBefore), std::string("\r\nConnected to SIM at 19200\r\n"));
        QCOMPARE(bar.ConnectionText(), QStringLiteral("SIM at 19200 baud"));
        QCOMPARE(bar.AddressText(), QStringLiteral("RS-485 address 4"));
        QCOMPARE(Terminal().Instrument().Rs485Address(), 4u);

        OnNextModal([](QWidget* modal) { modal->findChild<QPushButton*>("cancel")->click(); });
        Terminal().Connect();
        QVERIFY(!Terminal().Link().IsOpen());
        QVERIFY(Pane().ends_with("\r\nNot connected\r\n"));
        QCOMPARE(bar.ConnectionText(), QStringLiteral("Not connected"));
    }

    // On a desktop the technician looks at other windows all day: output keeps flowing while
    // another window has the focus, and stops only while something of ours holds the link.
    void outputFlowsWhateverWindowHasTheFocus() {
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        QVERIFY(!Terminal().isActiveWindow());

        CSerialLink& link = Terminal().Link();
        {
            const LinkLease lease(link);
            QCOMPARE(Terminal().StatusBar().ScriptText(), QStringLiteral("Ready"));
            QVERIFY(link.Write("Ver", 100, true));
            QTest::qWait(3 * CDlgTerminal::kPollIntervalMs);
            QVERIFY(Pane().find("Mirovan") == std::string::npos);
            QVERIFY(link.BytesWaiting() > 0);
            QCOMPARE(Terminal().StatusBar().ScriptText(), QStringLiteral("Busy"));
        }
        QTRY_VERIFY_WITH_TIMEOUT(Pane().find("Mirovan") != std::string::npos, kReplyMs);
        QCOMPARE(Terminal().StatusBar().ScriptText(), QStringLiteral("Ready"));
    }

    // A port that goes away (an adapter pulled, the far end closed) is said as soon as the link
    // meets it, with the terminal in front all along, or when a command is typed before that; the
    // command is then refused as not connected and stays in the command line.
    void lostPortIsSaidAtOnceAndTypedCommandsAreRefused() {
        const QString lost =
            QStringLiteral("Connection lost.\nPlease reconect to communication port!");
        app_->SimulatedPort()->SetVanished(true);
        QStringList seen;
        std::function<void()> answer = [&] {
            OnNextModal<QMessageBox>([&](QMessageBox* shown) {
                seen << shown->text();
                shown->accept();
                if (seen.size() < 2) {
                    answer();
                }
            });
        };
        answer();
        Type("Ver");
        QCOMPARE(seen, QStringList({lost, "Not connected"}));
        QCOMPARE(Terminal().CommandLine().currentText(), QStringLiteral("Ver"));
        QVERIFY(Received().empty());

        app_->SimulatedPort()->SetVanished(false);
        OnNextModal([](QWidget* modal) { modal->findChild<QPushButton*>("connect")->click(); });
        Terminal().Connect();
        QVERIFY(Terminal().Link().IsOpen());
        const auto said = AnswerNextMessage();
        app_->SimulatedPort()->SetVanished(true);
        QTRY_COMPARE(said->text, lost);
        QVERIFY(!Terminal().Link().IsOpen());
        QCOMPARE(Terminal().StatusBar().ConnectionText(), QStringLiteral("Not connected"));
    }

    // Opened at a rate the instrument does not run at, the line stays silent: the first command
    // nothing answers says the rate may be wrong and offers the search, which then looks for the
    // rate of the same port.
    void silenceAtANamedRateOffersTheSearch() {
        StartOptions options = environment_.Options();
        options.baudRate = 19200;
        StartApp(options);
        bool searched = false;
        QString port, rate;
        const auto offer = AnswerNextMessage("Yes");
        OnNextModal<CDlgConnect>([&](CDlgConnect* dialog) {
            QTRY_VERIFY(dialog->Searching());
            searched = true;
            port = dialog->findChild<QComboBox*>("port")->currentData().toString();
            rate = dialog->findChild<QComboBox*>("rate")->currentText();
            dialog->reject();
            QTRY_VERIFY(!dialog->Searching());
            dialog->reject();
        });
        Type("Ver");
        QCOMPARE(offer->text,
                 QStringLiteral("Nothing came back from SIM at 19200 baud.\nThe baud rate may be "
                                "wrong.\n\nSearch for the instrument's rate now? The search sends "
                                "a BREAK, which returns the instrument to command mode."));
        QVERIFY(searched);
        QCOMPARE(port, QStringLiteral("SIM"));
        QCOMPARE(rate, QStringLiteral("Auto"));
    }

    // The message names the system's reason, not that of a later query of the closed port (a
    // plain file opens, and is then refused as no terminal). The connect dialog offers the port
    // and rate given at start, over the saved ones, whether it opened or not.
    void portGivenAtStartIsOfferedAgainAndSaysWhyItWouldNotOpen() {
        QSettings().setValue("Connect settings/Port", "/dev/ttyS0");
        const QString port = environment_.FilePath("hostname");
        QVERIFY(WriteFile(port, "field-laptop\n"));
        StartOptions options = environment_.Options();
        options.port = port.toStdString();
        options.baudRate = 4800;
        const auto seen = AnswerNextMessage();
        StartApp(options);
        QCOMPARE(seen->text,
                 "Could not open " + port +
                     " at 4800 baud:\nInappropriate ioctl for device: not a serial port");
        QCOMPARE(Terminal().StatusBar().ConnectionText(), QStringLiteral("Not connected"));
        QCOMPARE(OfferedByConnectDialog(), QStringList({port, "4800"}));

        options.port = "SIM";
        options.baudRate = 19200;
        StartApp(options);
        QCOMPARE(OfferedByConnectDialog(),
                 QStringList({"SIM  (built-in simulated instrument)", "19200"}));
    }

    // A full disk is told once, in the terminal and the status bar, not taken for success.
    void logThatCannotBeWrittenIsReportedOnce() {
        Terminal().SetFileDialogs(std::make_unique<FixedFileName>("/dev/full"));
        Menus().openLog->trigger();
        QCOMPARE(Terminal().StatusBar().LogText(), QStringLiteral("Log full"));
        Type("Ver");
        Type("Ver");
        const std::string warning =
            "Cannot write the log file /dev/full: No space left on device; the log is incomplete.";
        QTRY_VERIFY_WITH_TIMEOUT(Pane().find(warning) != std::string::npos, kReplyMs);
        QTRY_VERIFY_WITH_TIMEOUT(Pane().ends_with(">"), kReplyMs);
        QCOMPARE(Pane().find(warning), Pane().rfind(warning));
        QCOMPARE(Terminal().StatusBar().LogText(), QStringLiteral("Log full: WRITE FAILED"));

        Menus().closeLog->trigger();
        const QString missing = environment_.FilePath("no-such-folder/session.log");
        Terminal().SetFileDialogs(std::make_unique<FixedFileName>(missing));
        const auto seen = AnswerNextMessage();
        Menus().openLog->trigger();
        QCOMPARE(seen->text,
                 "Cannot create the log file\n" + missing + ":\nNo such file or directory");
        QCOMPARE(Terminal().StatusBar().LogText(), QStringLiteral("No log"));
    }

    // Each file dialog starts where the user last left it, as long as that folder exists.
    void fileDialogsStartInAFolderThatExists() {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString fallback = QFileInfo(documents).isDir() ? documents : QDir::homePath();
        QtSettings store;
        QCOMPARE(StartFolder(store, settings::kLogFolder), fallback);

        const QString folder = environment_.FilePath("logs");
        QVERIFY(QDir().mkpath(folder));
        OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            dialog->setDirectory(folder);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        FileDialogs dialogs(store);
        QCOMPARE(dialogs.LogFileToOpen(&Terminal()), QDir(folder).filePath("ostrelterm.log"));
        QCOMPARE(StartFolder(store, settings::kLogFolder), folder);
        QCOMPARE(StartFolder(store, settings::kCommandFileFolder), fallback);

        QVERIFY(QDir(folder).removeRecursively());
        QCOMPARE(StartFolder(store, settings::kLogFolder), fallback);
    }

    // Tools > Deployment records...: the records newest first; Open shows one's sheet in the help
    // viewer, under the sheet's title, its cells apart.
    void deploymentRecordsListOpensASheet() {
        const std::string folder = RecordsFolder(OstrelDataFolder());
        DeploymentRecord record;
        record.serialNumber = "M1234";
        QVERIFY(WriteDeploymentRecord(folder, record).written);
        record.writtenAt = 1780000000;
        record.mode = DeploymentMode::kSdi12;
        record.commands = {{"SD 2026/06/01 12:00:00", true, "OK"}, {"SR", true, "OK"}};
        QVERIFY(WriteDeploymentRecord(folder, record).written);

        Menus().deploymentRecords->trigger();
        auto* list = Terminal().findChild<CDlgDeploymentRecords*>();
        QVERIFY(list && list->isVisible());
        const auto* rows = list->findChild<QTreeWidget*>("records");
        QCOMPARE(rows->topLevelItemCount(), 2);
        QCOMPARE(rows->topLevelItem(0)->text(3), QStringLiteral("SDI-12"));
        QCOMPARE(rows->topLevelItem(1)->text(1), QStringLiteral("M1234"));
        QVERIFY(SaveScreenshot(*list, "deployment-records"));
        list->findChild<QPushButton*>("open")->click();
        auto* viewer = Terminal().findChild<HelpWindow*>();
        QVERIFY(viewer && viewer->isVisible());
        QVERIFY(viewer->windowTitle().startsWith("Deployment record M1234"));
        const QList<QTextFrame*> frames =
            viewer->findChild<QTextBrowser*>()->document()->rootFrame()->childFrames();
        const auto* table = qobject_cast<QTextTable*>(frames.value(0));
        QVERIFY(table != nullptr);
        QVERIFY(table->cellAt(0, 0).format().toTableCellFormat().leftPadding() > 0);
        QVERIFY(SaveScreenshot(*viewer, "deployment-sheet"));
        const QString untitled = environment_.FilePath("untitled.htm");
        QVERIFY(WriteFile(untitled, "<p>no title</p>"));
        viewer->ShowPage(untitled, {});
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Brennix Help"));
    }

  private:
    // Ends the running program, if any, and starts the next one in front, where it polls.
    void StartApp() { StartApp(environment_.Options()); }
    void StartApp(const StartOptions& options) {
        app_.reset();
        app_ = std::make_unique<CBrennixApp>(options);
        app_->Start();
        Terminal().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Terminal()));
    }
    // The port and rate the connect dialog shows, cancelled.
    QStringList OfferedByConnectDialog() {
        QStringList shown;
        OnNextModal([&shown](QWidget* modal) {
            shown << modal->findChild<QComboBox*>("port")->currentText()
                  << modal->findChild<QComboBox*>("rate")->currentText();
            modal->findChild<QPushButton*>("cancel")->click();
        });
        Terminal().Connect();
        return shown;
    }
    // Typed keys go to the combo box, the focus widget, as a keyboard's do; the line runs on a
    // job, which the test lets end.
    void Type(const QString& command) {
        TypeOnly(command);
        Settle();
    }
    void TypeOnly(const QString& command) {
        Terminal().CommandLine().setEditText(command);
        QTest::keyClick(&Terminal().CommandLine(), Qt::Key_Return);
    }
    void Settle() { QTRY_VERIFY_WITH_TIMEOUT(!Terminal().Service().IsWorking(), kWorkMs); }
    QAction* SetupMenuEntry(const QString& text) const {
        const QList<QAction*> entries = Menus().setup->actions();
        const auto entry = std::ranges::find(entries, text, &QAction::text);
        return entry != entries.end() ? *entry : nullptr;
    }
    CDlgTerminal& Terminal() const { return *app_->Terminal(); }
    TerminalMenus& Menus() const { return Terminal().Menus(); }
    std::string Pane() const { return Terminal().OutputPane().Text(); }
    std::string Received() const { return app_->Simulator()->Received(); }

    GuiEnvironment environment_;
    std::unique_ptr<CBrennixApp> app_;
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::TerminalWindowTest, "terminal_window_test")
#include "terminal_window_test.moc"
