// The program against the simulated instrument: start-up settings, the command line, the log file,
// command files, the Commands menu, connecting, and what is refused while a script runs.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <array>
#include <string>

#include "app/brennix_app.h"
#include "app/color_edit_widget.h"
#include "app/file_dialogs.h"
#include "app/terminal_font.h"
#include "app/terminal_menus.h"
#include "app/terminal_window.h"
#include "gui_fixture.h"
#include "script/input_dialog.h"
#include "script/script_running_window.h"
#include "sim/simulated_instrument.h"

namespace brennix::test {
namespace {

constexpr int kReplyMs = 5000;

// Answers the terminal's file questions with one fixed name.
class FixedFileName : public FileDialogs {
  public:
    explicit FixedFileName(QString path) : path_(std::move(path)) {}
    QString LogFileToOpen(QWidget*) override { return path_; }
    QString CommandFileToRun(QWidget*) override { return path_; }

  private:
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

    // Defaults on a fresh machine; the unit system chosen is written only at the end.
    void firstStartDefaultsAndUnitsStoredAtExit() {
        QCOMPARE(app_->Units(), UnitSystem::kEnglish);
        QVERIFY(Menus().english->isChecked() && Menus().rs232->isChecked());
        QVERIFY(Menus().openLog->isEnabled() && !Menus().closeLog->isEnabled());
        QCOMPARE(Terminal().OutputPane().font().pointSize(), TerminalFontForSize(0).pointSize());
        QCOMPARE(Terminal().windowTitle(), QStringLiteral("Brennix v1.01"));
        QVERIFY(Pane().starts_with("Welcome to Brennix for Pocket PC!\r\n"));
        QVERIFY(Pane().ends_with("\r\nConnected to SIM at 9600\r\n"));
        QVERIFY(SaveScreenshot(Terminal(), "terminal"));

        Menus().metric->trigger();
        QVERIFY(!QSettings().contains(settings::kUnitSystem));
        app_->End();
        QCOMPARE(QSettings().value(settings::kUnitSystem).toInt(), 0);
        StartApp();
        QCOMPARE(app_->Units(), UnitSystem::kMetric);
        QVERIFY(Menus().metric->isChecked() && !Menus().english->isChecked());
    }

    void fontButtonCyclesAndIsRemembered_data() {
        QTest::addColumn<int>("saved");
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("expected");
        QTest::newRow("first press") << 0 << 1 << 1;
        QTest::newRow("five presses come back") << 0 << 5 << 0;
        QTest::newRow("out of range applies as 0") << 7 << 0 << 0;
        QTest::newRow("negative, then a press") << -3 << 1 << 1;
    }
    void fontButtonCyclesAndIsRemembered() {
        QFETCH(int, saved);
        QFETCH(int, presses);
        QFETCH(int, expected);
        QSettings().setValue(settings::kTerminalFont, saved);
        StartApp();
        for (int i = 0; i < presses; ++i)
            Terminal().NextFontSize();
        QCOMPARE(QSettings().value(settings::kTerminalFont).toInt(), expected);
        StartApp();
        QCOMPARE(Terminal().OutputPane().font().pointSize(),
                 TerminalFontForSize(expected).pointSize());
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
        OutputWindow* output = link.SetOutputWindow(nullptr);
        QVERIFY(link.Write("Show System", 100, true));
        std::array<char, 4000> reply{};
        QVERIFY(link.ReadUntil(reply, ">", kReplyMs, '\0', true));
        link.SetOutputWindow(output);
        const std::string detached(reply.data());

        Menus().closeLog->trigger();
        QVERIFY(Menus().openLog->isEnabled() && !Menus().closeLog->isEnabled());
        QCOMPARE(ReadFile(logPath).toStdString(), shownWhileLogging + detached);
        QVERIFY(Pane().find(detached) == std::string::npos);

        Type("Show Conf");
        QVERIFY(Terminal().CommandLine().currentText().isEmpty());
        StartApp();
        QCOMPARE(ReadFile(QDir(environment_.DataFolder()).filePath("cmd.ini")),
                 QByteArray("Show Conf\nVer\n"));

        // The arrow keys bring entries back for editing; choosing one sends it.
        QComboBox& line = Terminal().CommandLine();
        QTest::keyClick(line.lineEdit(), Qt::Key_Down);
        QTest::keyClick(line.lineEdit(), Qt::Key_Down);
        QCOMPARE(line.currentText(), QStringLiteral("Ver"));
        QVERIFY(Received().empty());
        emit line.activated(1);
        QTRY_COMPARE(line.itemText(0), QStringLiteral("Ver"));
        QVERIFY(Received().find("Ver\r") != std::string::npos);
    }

    void commandsMenuOrderAndAnEntryAskingForInput() {
        QStringList groups;
        for (QAction* action : Menus().commands->actions())
            groups << action->text();
        QCOMPARE(groups, QStringList({"SDI-12", "Compass", "Sensor", "Deploy", "System", "Setup",
                                      "Show", "Help"}));
        QMenu* setup = Menus().commands->actions().at(5)->menu();
        QCOMPARE(setup->actions().size(), 16);
        QCOMPARE(setup->actions().last()->text(), QStringLiteral("SaveSetup"));

        QAction* cellBegin = setup->actions().at(2);
        QCOMPARE(cellBegin->text(), QStringLiteral("CellBegin"));
        OnNextModal([](QWidget* modal) {
            auto* input = qobject_cast<CDlgInput*>(modal);
            QVERIFY(input != nullptr);
            qobject_cast<QLineEdit*>(input->RowControl(0))->setText("2.5");
            input->OkButton()->click();
        });
        cellBegin->trigger();
        QVERIFY(Received().starts_with("cb\r"));
        QVERIFY(Received().find("cb 2.5\r") != std::string::npos);
    }

    // While a command file waits, nothing else may talk to the instrument; Stop ends the file
    // there, and the terminal takes commands again.
    void stopEndsACommandFileAndNothingElseRunsMeanwhile() {
        const QString path = environment_.FilePath("slow.cmd");
        QVERIFY(WriteFile(path, "Ver\r\n#WAIT 10\r\nShow Conf\r\n"));
        Terminal().SetFileDialogs(std::make_unique<FixedFileName>(path));
        QStringList refusals;
        QTimer::singleShot(300, this, [&] {
            const std::string received = Received();
            const std::function<void()> attempts[] = {
                [&] { Type("Ver"); },
                [&] { Terminal().RunCommandsEntry(1126); },
                [&] { Terminal().SendBreakToInstrument(); },
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
        QCOMPARE(refusals, QStringList(4, "A script is running. Stop it first."));
        QVERIFY(Received().starts_with("Ver\r"));
        QVERIFY(Received().find("Show Conf") == std::string::npos);
        QVERIFY(!Terminal().Engine().IsRunning());
        Type("Show Conf");
        QVERIFY(Received().find("Show Conf\r") != std::string::npos);
    }

    // The dialog's own messages stay out of the terminal; the outcome is reported once.
    void connectDialogOutcomeIsReportedOnce() {
        const size_t shownBefore = Pane().size();
        OnNextModal([](QWidget* modal) {
            modal->findChild<QComboBox*>("rate")->setCurrentText("9600");
            modal->findChild<QLineEdit*>("rs485")->setText("5");
            modal->findChild<QPushButton*>("connect")->click();
        });
        Terminal().Connect();
        QVERIFY(Terminal().Link().IsOpen());
        QCOMPARE(Terminal().Instrument().Rs485Address(), 5u);
        QCOMPARE(Pane().substr(shownBefore), std::string("\r\nConnected to SIM at 9600\r\n"));

        OnNextModal([](QWidget* modal) { modal->findChild<QPushButton*>("cancel")->click(); });
        Terminal().Connect();
        QVERIFY(!Terminal().Link().IsOpen());
        QVERIFY(Pane().ends_with("\r\nNot connected\r\n"));
    }

  private:
    // Ends the running program, if any, and starts the next one in front, where it polls.
    void StartApp() {
        app_.reset();
        app_ = std::make_unique<CBrennixApp>(environment_.Options());
        app_->Start();
        Terminal().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Terminal()));
    }
    // Typed keys go to the combo box, the focus widget, as a keyboard's do.
    void Type(const QString& command) {
        Terminal().CommandLine().setEditText(command);
        QTest::keyClick(&Terminal().CommandLine(), Qt::Key_Return);
    }
    CDlgTerminal& Terminal() const { return *app_->Terminal(); }
    TerminalMenus& Menus() const { return Terminal().Menus(); }
    std::string Pane() const { return Terminal().OutputPane().Text(); }
    std::string Received() const { return app_->Simulator()->Received(); }

    GuiEnvironment environment_;
    std::unique_ptr<CBrennixApp> app_;
};

}  // namespace brennix::test

QTEST_MAIN(brennix::test::TerminalWindowTest)
#include "terminal_window_test.moc"
