// The terminal against the simulated instrument: typed commands, the log file, command files, the
// Commands menu and what is refused while a script runs.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <array>
#include <string>

#include "app/color_edit_widget.h"
#include "app/file_dialogs.h"
#include "app/help_window.h"
#include "app/terminal_window.h"
#include "platform/simulated_device.h"
#include "script/input_dialog.h"
#include "shell_fixture.h"
#include "sim/simulated_instrument.h"

namespace brennix::test {
namespace {

constexpr int kReplyMs = 5000;

// Answers the terminal's file questions with fixed names.
class FixedFileNames : public FileDialogs {
  public:
    FixedFileNames(QString logFile, QString commandFile)
        : logFile_(std::move(logFile)), commandFile_(std::move(commandFile)) {}
    QString LogFileToOpen(QWidget*) override { return logFile_; }
    QString CommandFileToRun(QWidget*) override { return commandFile_; }

  private:
    QString logFile_;
    QString commandFile_;
};

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

QAction* FindAction(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

}  // namespace

class TerminalSessionTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        environment_.Reset();
        app_ = std::make_unique<CBrennixApp>(environment_.Options());
        app_->Start();
        terminal_ = app_->Terminal();
        QVERIFY(ActivateTerminal(*terminal_));
    }
    void cleanup() {
        app_.reset();
        terminal_ = nullptr;
    }

    void typedCommandReachesTheInstrumentAndItsReplyShows() {
        Type("Ver");
        QVERIFY(Received().find("Ver\r") != std::string::npos);
        QTRY_VERIFY_WITH_TIMEOUT(Pane().find("Mirovan") != std::string::npos, kReplyMs);
        QTRY_VERIFY_WITH_TIMEOUT(Pane().ends_with(">"), kReplyMs);
        QCOMPARE(terminal_->CommandLine().itemText(0), QStringLiteral("Ver"));
    }

    // What the instrument sends on its own shows at the next poll while the terminal is in front.
    void unsolicitedOutputIsPolled() {
        terminal_->Link().Write("Ver", 100, true);
        QTRY_VERIFY_WITH_TIMEOUT(Pane().find("Mirovan") != std::string::npos, kReplyMs);
    }

    void sendingWithoutConnectionIsRefused() {
        terminal_->Link().Close();
        const auto seen = AcknowledgeNextMessage();
        Type("Ver");
        QCOMPARE(seen->text, QStringLiteral("Not connected"));
        QCOMPARE(seen->caption, QStringLiteral("Brennix"));
        QCOMPARE(terminal_->CommandLine().count(), 0);
        QVERIFY(terminal_->CommandLine().currentText().isEmpty());
        QVERIFY(Received().empty());
    }

    void logFileIsEmptiedAndReceivesEveryByte() {
        const QString logPath = environment_.FilePath("session.log");
        WriteFile(logPath, "yesterday's log\n");
        terminal_->SetFileDialogs(std::make_unique<FixedFileNames>(logPath, QString()));
        terminal_->Menus().openLog->trigger();
        QVERIFY(!terminal_->Menus().openLog->isEnabled());
        QVERIFY(terminal_->Menus().closeLog->isEnabled());

        const size_t shownBefore = Pane().size();
        Type("Ver");
        QTRY_VERIFY_WITH_TIMEOUT(Pane().ends_with(">"), kReplyMs);
        const std::string shownWhileLogging = Pane().substr(shownBefore);

        // A dialog's own exchange reaches the log but not the terminal.
        CSerialLink& link = terminal_->Link();
        OutputWindow* output = link.SetOutputWindow(nullptr);
        QVERIFY(link.Write("Show System", 100, true));
        std::array<char, 4000> reply{};
        QVERIFY(link.ReadUntil(reply, ">", kReplyMs, '\0', true));
        link.SetOutputWindow(output);
        const std::string detached(reply.data());

        terminal_->Menus().closeLog->trigger();
        QVERIFY(terminal_->Menus().openLog->isEnabled());
        QVERIFY(!terminal_->Menus().closeLog->isEnabled());
        QCOMPARE(ReadFile(logPath), shownWhileLogging + detached);
        QVERIFY(Pane().find(detached) == std::string::npos);
    }

    void logFileThatCannotBeCreatedIsReported() {
        const QString logPath = environment_.FilePath("no/such/folder/x.log");
        terminal_->SetFileDialogs(std::make_unique<FixedFileNames>(logPath, QString()));
        const auto seen = AcknowledgeNextMessage();
        terminal_->Menus().openLog->trigger();
        QVERIFY(seen->text.contains(QDir::toNativeSeparators(logPath)));
        QVERIFY(terminal_->Menus().openLog->isEnabled());
        QVERIFY(!terminal_->Menus().closeLog->isEnabled());
    }

    void commandFileRuns() {
        const QString path = environment_.FilePath("setup.cmd");
        WriteFile(path, "// two commands\r\nVer\r\n#WAIT_PROMPT 5\r\nShow Conf\r\n");
        terminal_->SetFileDialogs(std::make_unique<FixedFileNames>(QString(), path));
        terminal_->Menus().runCommandFile->trigger();
        const std::string received = Received();
        QVERIFY(received.find("Ver\r") != std::string::npos);
        QVERIFY(received.find("Show Conf\r") > received.find("Ver\r"));
    }

    void unreadableCommandFileIsReported() {
        const QString path = environment_.FilePath("missing.cmd");
        terminal_->SetFileDialogs(std::make_unique<FixedFileNames>(QString(), path));
        const auto seen = AcknowledgeNextMessage();
        terminal_->Menus().runCommandFile->trigger();
        QVERIFY(seen->text.contains(QDir::toNativeSeparators(path)));
        QVERIFY(Received().empty());
    }

    void commandsMenuListsGroupsInReverseOrder() {
        QStringList groups;
        for (QAction* action : terminal_->Menus().commands->actions()) {
            groups << action->text();
        }
        QCOMPARE(groups, QStringList({"SDI-12", "Compass", "Sensor", "Deploy", "System", "Setup",
                                      "Show", "Help"}));
        QMenu* setup = FindAction(*terminal_->Menus().commands, "Setup")->menu();
        QCOMPARE(setup->actions().size(), 16);
        QCOMPARE(setup->actions().at(2)->text(), QStringLiteral("CellBegin"));
        QCOMPARE(setup->actions().last()->text(), QStringLiteral("SaveSetup"));
    }

    void commandsEntryAsksThroughTheInputDialog() {
        QMenu* setup = FindAction(*terminal_->Menus().commands, "Setup")->menu();
        QString prompt;
        OnNextModal([&prompt](QWidget* modal) {
            auto* input = qobject_cast<CDlgInput*>(modal);
            QVERIFY(input != nullptr);
            auto* edit = qobject_cast<QLineEdit*>(input->RowControl(0));
            QVERIFY(edit != nullptr);
            edit->setText("2.5");
            input->OkButton()->click();
        });
        FindAction(*setup, "CellBegin")->trigger();
        const std::string received = Received();
        QVERIFY(received.starts_with("cb\r"));
        QVERIFY(received.find("cb 2.5\r") != std::string::npos);
    }

    // A typed "#WAIT 1" keeps the window alive for a second; nothing else may talk to the
    // instrument meanwhile.
    void secondExchangeIsRefusedWhileAScriptRuns() {
        QStringList refusals;
        QTimer::singleShot(300, this, [&] {
            QVERIFY(terminal_->Engine().IsRunning());
            const auto sendRefused = AcknowledgeNextMessage();
            Type("Ver");
            const auto entryRefused = AcknowledgeNextMessage();
            terminal_->RunCommandsEntry(1126);
            const auto breakRefused = AcknowledgeNextMessage();
            terminal_->SendBreakToInstrument();
            const auto exitRefused = AcknowledgeNextMessage();
            QVERIFY(!terminal_->close());
            refusals << sendRefused->text << entryRefused->text << breakRefused->text
                     << exitRefused->text;
        });
        Type("#WAIT 1");
        QCOMPARE(refusals, QStringList(4, "A script is running. Stop it first."));
        QVERIFY(Received().empty());
        QCOMPARE(terminal_->CommandLine().itemText(0), QStringLiteral("#WAIT 1"));

        Type("Ver");
        QVERIFY(Received().find("Ver\r") != std::string::npos);
    }

    void connectButtonReconnectsThroughTheDialog() {
        const size_t shownBefore = Pane().size();
        OnNextModal([](QWidget* modal) {
            modal->findChild<QComboBox*>("port")->setCurrentText("SIM");
            modal->findChild<QComboBox*>("rate")->setCurrentText("9600");
            modal->findChild<QLineEdit*>("rs485")->setText("5");
            modal->findChild<QPushButton*>("connect")->click();
        });
        terminal_->Connect();
        QVERIFY(terminal_->Link().IsOpen());
        QCOMPARE(terminal_->Instrument().Rs485Address(), 5u);
        // The dialog's own messages stay out of the terminal; the outcome is reported once.
        QCOMPARE(Pane().substr(shownBefore), std::string("\r\nConnected to SIM at 9600\r\n"));
    }

    void cancelledConnectDialogLeavesNoConnection() {
        OnNextModal([](QWidget* modal) { modal->findChild<QPushButton*>("cancel")->click(); });
        terminal_->Connect();
        QVERIFY(!terminal_->Link().IsOpen());
        QVERIFY(Pane().ends_with("\r\nNot connected\r\n"));
    }

    // After a search the instrument is asked for its prompt, which the next poll shows.
    void searchedConnectionShowsThePrompt() {
        OnNextModal([](QWidget* modal) {
            modal->findChild<QComboBox*>("port")->setCurrentText("SIM");
            modal->findChild<QComboBox*>("rate")->setCurrentText("Auto");
            modal->findChild<QPushButton*>("connect")->click();
        });
        terminal_->Connect();
        QVERIFY(terminal_->Link().IsOpen());
        QVERIFY(Received().ends_with(" \r\n \r\n"));
        QVERIFY(ActivateTerminal(*terminal_));
        QTRY_VERIFY_WITH_TIMEOUT(Pane().ends_with(">"), kReplyMs);
    }

    void breakButtonSendsABreak() {
        terminal_->SendBreakToInstrument();
        QCOMPARE(app_->SimulatedPort()->BreakTicks().size(), size_t(1));
        terminal_->Link().Close();
        terminal_->SendBreakToInstrument();
        QCOMPARE(app_->SimulatedPort()->BreakTicks().size(), size_t(1));
    }

    void lostPortIsReportedOnActivation() {
        app_->SimulatedPort()->SetVanished(true);
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        const auto seen = AcknowledgeNextMessage();
        terminal_->activateWindow();
        QTRY_COMPARE(seen->text,
                     QStringLiteral("Connection lost.\nPlease reconect to communication port!"));
        QVERIFY(!terminal_->Link().IsOpen());
    }

    void helpOpensAtTheContents() {
        terminal_->ShowHelp();
        auto* help = terminal_->findChild<HelpWindow*>();
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
    }

    void modeMenuFollowsTheInstrument() {
        terminal_->Menus().sdi12->trigger();
        QVERIFY(Received().find("SDI12 ON") != std::string::npos);
        QCOMPARE(terminal_->Menus().sdi12->isChecked(), terminal_->Instrument().IsSdi12Mode());
        QCOMPARE(terminal_->Menus().rs232->isChecked(), !terminal_->Instrument().IsSdi12Mode());
    }

  private:
    void Type(const QString& command) {
        terminal_->CommandLine().setEditText(command);
        QTest::keyClick(terminal_->CommandLine().lineEdit(), Qt::Key_Return);
    }
    std::string Pane() const { return terminal_->OutputPane().Text(); }
    std::string Received() const { return app_->Simulator()->Received(); }

    ShellEnvironment environment_;
    std::unique_ptr<CBrennixApp> app_;
    CDlgTerminal* terminal_ = nullptr;
};

}  // namespace brennix::test

QTEST_MAIN(brennix::test::TerminalSessionTest)
#include "terminal_session_test.moc"
