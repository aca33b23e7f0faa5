// The command editor: its questions about unsaved changes, its files, and Run.
#include <QPlainTextEdit>

#include "gui_fixture.h"
#include "instrument/instrument.h"
#include "script/gui/cmd_editor_dialog.h"
#include "support/scripted_ui_host.h"
#include "support/sim_line.h"

namespace brennix::test {
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

// The editor on a simulated instrument, with "in.cmd" to open and "out.cmd" to save.
struct EditorRig {
    explicit EditorRig(const GuiEnvironment& environment) {
        instrument.SetLink(&line.link);
        editor.openPath = environment.FilePath("in.cmd");
        editor.savePath = environment.FilePath("out.cmd");
        editor.show();
    }
    SimLine line;
    ScriptedUiHost ui{line.clock};
    CInstrument instrument{line.clock, ui};
    ScriptedEditor editor{[this](const std::string& text, const std::function<void()>& ran) {
                              instrument.RunText(text);
                              ran();
                          },
                          ui};
};

}  // namespace

class EditorTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        environment_.Reset();
        QVERIFY(WriteFile(environment_.FilePath("in.cmd"), "show conf\r\n"));
        rig_.reset();
        rig_ = std::make_unique<EditorRig>(environment_);
    }

    // Closing and opening another file ask only when typed changes would be lost; "Yes" goes on.
    // The last step is the one that may ask.
    void asksOnlyAboutUnsavedChanges_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<QString>("asksTo");
        QTest::addColumn<bool>("done");
        QTest::newRow("close opened") << "open close" << false << "" << true;
        QTest::newRow("close saved") << "type save close" << false << "" << true;
        QTest::newRow("close typed, give up changes")
            << "type close" << true << "close the editor" << true;
        QTest::newRow("close opened and typed, keep editing")
            << "open type close" << false << "close the editor" << false;
        QTest::newRow("open over typed, keep editing")
            << "type open" << false << "open another file" << false;
        QTest::newRow("open over typed, give up changes")
            << "type open" << true << "open another file" << true;
    }
    void asksOnlyAboutUnsavedChanges() {
        QFETCH(QString, steps);
        QFETCH(bool, answerYes);
        QFETCH(QString, asksTo);
        QFETCH(bool, done);
        rig_->ui.messageAnswers.push_back(answerYes ? MessageResult::kYes : MessageResult::kNo);
        for (const QString& step : steps.split(' ')) {
            if (step == "open") {
                rig_->editor.Open();
            } else if (step == "save") {
                rig_->editor.Save();
            } else if (step == "close") {
                QTest::keyClick(&rig_->editor, Qt::Key_Escape);
            } else {
                QTest::keyClicks(rig_->editor.Editor(), "typed");
            }
        }

        const auto& messages = rig_->ui.messages;
        QCOMPARE(messages.size(), size_t(asksTo.isEmpty() ? 0 : 1));
        if (!asksTo.isEmpty()) {
            QCOMPARE(QString::fromStdString(messages.front().text),
                     "Your command file has been modified.\nAre you sure that you want to " +
                         asksTo + "?");
            QCOMPARE(messages.front().caption, std::string("Lose all changes?"));
            QVERIFY(messages.front().buttons == MessageButtons::kYesNo);
        }
        if (steps.endsWith("close")) {
            QCOMPARE(rig_->editor.isVisible(), !done);
        } else {
            QCOMPARE(rig_->editor.Editor()->toPlainText() == "show conf\n", done);
        }
    }

    // A copy of a program is refused as Run command file refuses it, and nothing of it is loaded
    // for Run to send.
    void openRefusesWhatIsNoText() {
        QVERIFY(WriteFile(rig_->editor.openPath, QByteArray("\x7F"
                                                            "ELF\x02\x01\x01\0",
                                                            8)));
        rig_->editor.Open();
        QCOMPARE(rig_->ui.messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(rig_->ui.messages.front().text),
                 "Cannot open the command file\n" + rig_->editor.openPath +
                     ":\nit is not a text file (byte 0x7F at offset 0)");
        QVERIFY(rig_->editor.Editor()->toPlainText().isEmpty());
    }

    void saveWritesEightBitText() {
        rig_->editor.Editor()->setPlainText(QString::fromLatin1("tw 20\xB0\nver"));
        rig_->editor.Save();
        QCOMPARE(ReadFile(rig_->editor.savePath), QByteArray("tw 20\xB0\nver"));
        QVERIFY(QTest::qWaitForWindowExposed(&rig_->editor));
        QVERIFY(SaveScreenshot(rig_->editor, "dialogs-editor"));
    }

    // Run from the editor's own modal loop, as the Tools menu shows it: stepping aside while the
    // script runs must not end that loop, and the text comes back unsaved.
    void runSendsTheTextWhileTheEditorStepsAside() {
        QTest::keyClicks(rig_->editor.Editor(), "ver");
        // What the instrument answers meanwhile is seen while the editor is hidden.
        struct VisibilityWitness : OutputWindow {
            explicit VisibilityWitness(QWidget& editor) : editor_(editor) {}
            void Append(const uint8_t*, size_t) override {
                hidden = hidden || !editor_.isVisible();
            }
            QWidget& editor_;
            bool hidden = false;
        } witness(rig_->editor);
        rig_->line.link.Tap().SetOutputWindow(&witness);
        bool backAfterRun = false;
        QTimer::singleShot(0, &rig_->editor, [this, &backAfterRun] {
            rig_->editor.Run();
            QTimer::singleShot(0, &rig_->editor, [this, &backAfterRun] {
                backAfterRun = rig_->editor.isVisible();
                rig_->editor.reject();
            });
        });
        rig_->editor.exec();

        QVERIFY(witness.hidden);
        QVERIFY(backAfterRun);
        QCOMPARE(rig_->editor.Editor()->toPlainText(), QStringLiteral("ver"));
        QVERIFY(rig_->editor.Editor()->document()->isModified());
        QVERIFY(rig_->line.instrument.Received().find("ver\r") != std::string::npos);
    }

  private:
    GuiEnvironment environment_;
    std::unique_ptr<EditorRig> rig_;
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::EditorTest, "dialogs_editor_test")
#include "dialogs_editor_test.moc"
