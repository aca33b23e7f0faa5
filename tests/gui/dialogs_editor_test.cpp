#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "gui/dialogs_screenshot.h"
#include "instrument/instrument.h"
#include "script/cmd_editor_dialog.h"
#include "support/scripted_ui_host.h"
#include "support/sim_line.h"

namespace brennix {
namespace {

// The editor with its file dialogs replaced by fixed answers.
class ScriptedEditor : public CDlgCmdEditor {
  public:
    using CDlgCmdEditor::CDlgCmdEditor;
    QString openPath;
    QString savePath;

  protected:
    QString ChooseFileToOpen() override { return openPath; }
    QString ChooseFileToSave() override { return savePath; }
};

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

#ifdef Q_OS_WIN
constexpr const char* kLineEnd = "\r\n";
#else
constexpr const char* kLineEnd = "\n";
#endif

}  // namespace

class EditorTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void closeAsksOnlyAboutUnsavedChanges_data();
    void closeAsksOnlyAboutUnsavedChanges();
    void openAsksBeforeReplacingUnsavedChanges();
    void openShowsLineBreaksAndKeepsLongLinesWhole();
    void unreadableFileIsReportedAndTheTextKept();
    void saveWritesEightBitTextWithThePlatformsLineEnds();
    void unwritableFileIsReportedAndStaysModified();
    void runSendsTheTextWhileTheEditorStepsAside();
    void screenshot();

  private:
    QTemporaryDir folder_;
    std::unique_ptr<test::SimLine> line_;
    std::unique_ptr<test::ScriptedUiHost> ui_;
    std::unique_ptr<CInstrument> instrument_;
    std::unique_ptr<ScriptedEditor> editor_;
};

void EditorTest::init() {
    line_ = std::make_unique<test::SimLine>();
    ui_ = std::make_unique<test::ScriptedUiHost>(line_->clock);
    instrument_ = std::make_unique<CInstrument>(line_->clock, *ui_);
    instrument_->SetLink(&line_->link);
    editor_ = std::make_unique<ScriptedEditor>(*instrument_, *ui_);
    editor_->openPath = folder_.filePath("in.cmd");
    editor_->savePath = folder_.filePath("out.cmd");
    WriteFile(editor_->openPath, "show conf\r\n");
    editor_->show();
}

void EditorTest::cleanup() {
    editor_.reset();
    instrument_.reset();
    ui_.reset();
    line_.reset();
}

void EditorTest::closeAsksOnlyAboutUnsavedChanges_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");

    QTest::newRow("untouched") << QStringList{} << true << false << true;
    QTest::newRow("opened") << QStringList{"open"} << true << false << true;
    QTest::newRow("typed, changes given up") << QStringList{"type"} << true << true << true;
    QTest::newRow("typed, back to editing") << QStringList{"type"} << false << true << false;
    QTest::newRow("opened then typed") << QStringList{"open", "type"} << false << true << false;
    QTest::newRow("typed then saved") << QStringList{"type", "save"} << true << false << true;
}

void EditorTest::closeAsksOnlyAboutUnsavedChanges() {
    QFETCH(QStringList, steps);
    QFETCH(bool, answerYes);
    QFETCH(bool, asked);
    QFETCH(bool, closed);
    for (const QString& step : steps) {
        if (step == "open")
            editor_->Open();
        else if (step == "save")
            editor_->Save();
        else
            QTest::keyClicks(editor_->Editor(), "x");
    }
    ui_->messageAnswers.push_back(answerYes ? MessageResult::kYes : MessageResult::kNo);

    QTest::keyClick(editor_.get(), Qt::Key_Escape);

    QCOMPARE(ui_->messages.size(), size_t(asked ? 1 : 0));
    if (asked) {
        const test::ScriptedUiHost::Message& question = ui_->messages.front();
        QCOMPARE(question.text, std::string("Your command file has been modified.\nAre you sure "
                                            "that you want to close the editor?"));
        QCOMPARE(question.caption, std::string("Lose all changes?"));
        QVERIFY(question.buttons == MessageButtons::kYesNo);
    }
    QCOMPARE(editor_->isVisible(), !closed);
}

void EditorTest::openAsksBeforeReplacingUnsavedChanges() {
    QTest::keyClicks(editor_->Editor(), "typed");
    ui_->messageAnswers = {MessageResult::kNo, MessageResult::kYes};

    editor_->Open();
    QCOMPARE(editor_->Editor()->toPlainText(), QString("typed"));
    editor_->Open();
    QCOMPARE(editor_->Editor()->toPlainText(), QString("show conf\n"));

    QCOMPARE(ui_->messages.size(), size_t(2));
    QCOMPARE(ui_->messages.front().text,
             std::string("Your command file has been modified.\nAre "
                         "you sure that you want to open another file?"));
}

void EditorTest::openShowsLineBreaksAndKeepsLongLinesWhole() {
    const QByteArray longLine(1200, 'a');
    WriteFile(editor_->openPath, "show conf\r\n" + longLine + "\r\nver");
    editor_->Editor()->setPlainText("old text");

    editor_->Open();

    QCOMPARE(editor_->Editor()->toPlainText(), "show conf\n" + QString(longLine) + "\nver");
    QCOMPARE(editor_->Editor()->blockCount(), 3);
    QVERIFY(!editor_->Editor()->document()->isModified());
}

void EditorTest::unreadableFileIsReportedAndTheTextKept() {
    editor_->openPath = folder_.filePath("missing.cmd");
    editor_->Editor()->setPlainText("keep me");

    editor_->Open();

    QCOMPARE(ui_->messages.size(), size_t(1));
    const std::string& text = ui_->messages.front().text;
    QVERIFY(text.find("Unable to open file") != std::string::npos);
    QVERIFY(text.find("missing.cmd") != std::string::npos);
    QCOMPARE(editor_->Editor()->toPlainText(), QString("keep me"));
}

void EditorTest::saveWritesEightBitTextWithThePlatformsLineEnds() {
    editor_->Editor()->setPlainText(QString::fromLatin1("tw 20\xB0\nver"));

    editor_->Save();

    QCOMPARE(ReadFile(editor_->savePath), QByteArray("tw 20\xB0") + kLineEnd + "ver");
    QVERIFY(!editor_->Editor()->document()->isModified());
    QVERIFY(ui_->messages.empty());
}

void EditorTest::unwritableFileIsReportedAndStaysModified() {
    editor_->savePath = folder_.filePath("no/such/folder/out.cmd");
    QTest::keyClicks(editor_->Editor(), "ver");

    editor_->Save();

    QCOMPARE(ui_->messages.size(), size_t(1));
    QCOMPARE(ui_->messages.front().text, std::string("Unable to create file !"));
    QVERIFY(editor_->Editor()->document()->isModified());
}

// Run from the editor's own modal loop, as the Tools menu shows it: stepping aside must not end
// that loop.
void EditorTest::runSendsTheTextWhileTheEditorStepsAside() {
    QTest::keyClicks(editor_->Editor(), "ver");
    bool hiddenWhileRunning = false;
    line_->link.SetWaitCallback([this, &hiddenWhileRunning](uint32_t ms) {
        hiddenWhileRunning = hiddenWhileRunning || !editor_->isVisible();
        line_->clock.Sleep(ms);
    });
    bool backAfterRun = false;
    QTimer::singleShot(0, editor_.get(), [this, &backAfterRun] {
        editor_->Run();
        QTimer::singleShot(0, editor_.get(), [this, &backAfterRun] {
            backAfterRun = editor_->isVisible();
            QCOMPARE(editor_->Editor()->toPlainText(), QString("ver"));
            QVERIFY(editor_->Editor()->document()->isModified());
            editor_->reject();
        });
    });

    editor_->exec();

    QVERIFY(hiddenWhileRunning);
    QVERIFY(backAfterRun);
    QVERIFY(line_->instrument.Received().find("ver\r") != std::string::npos);
}

void EditorTest::screenshot() {
    editor_->Editor()->setPlainText(
        "# Set up a short profile\n#WAIT_PROMPT 5\nnc ##input('Number of cells','10')\n"
        "cs ##select('Cell size','0.5','1.0','2.0')\nshow conf\n");
    QVERIFY(QTest::qWaitForWindowExposed(editor_.get()));
    QVERIFY(test::SaveScreenshot(*editor_, "dialogs-editor"));
}

}  // namespace brennix

QTEST_MAIN(brennix::EditorTest)
#include "dialogs_editor_test.moc"
