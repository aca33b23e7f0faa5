// The terminal's own parts: the output pane shows the received bytes as the terminal append rule
// holds them, whatever mix of split line ends, erasures and trimming arrives; the command line's
// history keeps the rules of its list and of its file "cmd.ini"; Qt's own file dialog shows its
// columns whole.
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>
#include <algorithm>
#include <vector>

#include "desktop/color_edit_widget.h"
#include "desktop/command_history.h"
#include "desktop/file_dialog_fit.h"
#include "gui_fixture.h"

using Texts = std::vector<std::string>;
Q_DECLARE_METATYPE(Texts)

namespace brennix::test {
namespace {

void Append(CColorEdit& pane, const std::string& bytes) {
    pane.Append(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

Texts Numbered(int from, int to) {
    Texts entries;
    for (int i = from; i != to; i += from < to ? 1 : -1) {
        entries.push_back("c" + std::to_string(i));
    }
    return entries;
}

QByteArray Lines(const Texts& entries) {
    QByteArray text;
    for (const std::string& entry : entries) {
        text += QByteArray::fromStdString(entry) + '\n';
    }
    return text;
}

}  // namespace

class TerminalPartsTest : public QObject {
    Q_OBJECT

  private slots:
    void paneShowsWhatItHolds_data() {
        QTest::addColumn<Texts>("chunks");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CR LF split over two reads") << Texts{"ab\r", "\ncd"} << "ab\ncd";
        QTest::newRow("echoed CR starts the reply on a new line")
            << Texts{"Ver\r", "Ostrel\r\n>"} << "Ver\nOstrel\n>";
        QTest::newRow("lone LF and LF CR") << Texts{"a\nb\n\rc"} << "a\nb\n\nc";
        QTest::newRow("backspace over a line end") << Texts{"ab\r\n", "\x08\x08z"} << "abz";
        QTest::newRow("backspace leaves a CR that shows")
            << Texts{"ab\r\n", "\x08", "\n"} << "ab\n";
        QTest::newRow("Latin-1 bytes") << Texts{"12\xb0" "C"}
                                       << QString::fromUtf8("12\u00b0C");
    }
    void paneShowsWhatItHolds() {
        QFETCH(Texts, chunks);
        QFETCH(QString, shown);
        CColorEdit pane;
        for (const std::string& chunk : chunks) {
            Append(pane, chunk);
        }
        QCOMPARE(pane.toPlainText(), shown);
    }

    // Lines of changing length put the cuts at every kind of place, also between a carriage
    // return and its line feed, which leaves a line feed first.
    void paneTrimsLongOutputInStep() {
        CColorEdit pane;
        for (int i = 0; i < 3000; ++i) {
            Append(pane, std::string(i % 7, 'x') + "j\r\n");
            QVERIFY(pane.Text().size() <= TerminalPane::kTrimAbove + 9);
            const std::string& held = pane.Text();
            const auto breaks = std::count(held.begin(), held.end(), '\r') + (held[0] == '\n');
            QCOMPARE(pane.toPlainText().count('\n'), qsizetype(breaks));
        }
        QVERIFY(pane.Text().size() >= TerminalPane::kKeepAfterTrim);
        QVERIFY(pane.toPlainText().endsWith("j\n"));
    }

    void historyAddMovesTheCommandToTheTop_data() {
        QTest::addColumn<Texts>("before");
        QTest::addColumn<QByteArray>("added");
        QTest::addColumn<Texts>("after");
        QTest::newRow("new") << Texts{"a", "b"} << QByteArray("c") << Texts{"c", "a", "b"};
        QTest::newRow("other case replaces")
            << Texts{"a", "b", "dir"} << QByteArray("DIR") << Texts{"DIR", "a", "b"};
        QTest::newRow("Latin-1 letters fold")
            << Texts{"\xe9t\xe9", "x"} << QByteArray("\xc9T\xc9") << Texts{"\xc9T\xc9", "x"};
        QTest::newRow("empty is not kept") << Texts{"a"} << QByteArray() << Texts{"a"};
    }
    void historyAddMovesTheCommandToTheTop() {
        QFETCH(Texts, before);
        QFETCH(QByteArray, added);
        QFETCH(Texts, after);
        CommandHistory history;
        for (auto entry = before.rbegin(); entry != before.rend(); ++entry) {
            history.Add(*entry);
        }
        history.Add(added.toStdString());
        QCOMPARE(history.Entries(), after);
    }

    void historyLoadReadsTheFile_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Texts>("entries");
        QTest::newRow("forty lines load thirty") << Lines(Numbered(0, 40)) << Numbered(0, 30);
        QTest::newRow("blank lines and line ends")
            << QByteArray("one\r\n\r\n\ntwo\rthree\n  \nlast") << Texts{"one", "two", "  ", "last"};
        QTest::newRow("long line in 511-character pieces")
            << QByteArray(511, 'x') + QByteArray(489, 'y') + "\nz\n"
            << Texts{std::string(511, 'x'), std::string(489, 'y'), "z"};
        QTest::newRow("511 characters and the line end") << QByteArray(511, 'x') + "\nz\n"
                                                         << Texts{std::string(511, 'x'), "z"};
    }
    void historyLoadReadsTheFile() {
        QFETCH(QByteArray, file);
        QFETCH(Texts, entries);
        const QString path = environment_.FilePath("cmd.ini");
        QVERIFY(WriteFile(path, file));
        CommandHistory history;
        QVERIFY(history.Load(path.toStdString()));
        QCOMPARE(history.Entries(), entries);
    }

    void historySaveKeepsTheThirtyMostRecent() {
        CommandHistory history;
        for (const std::string& entry : Numbered(0, 35)) {
            history.Add(entry);
        }
        const QString path = environment_.FilePath("cmd.ini");
        QVERIFY(WriteFile(path, QByteArray(2000, 'o')));
        QVERIFY(history.Save(path.toStdString()));
        QCOMPARE(ReadFile(path), Lines(Numbered(34, 4)));
    }

    // Size, type and date are as wide as their texts once the folder is listed.
    void fileDialogShowsItsColumnsWhole() {
        QVERIFY(WriteFile(environment_.FilePath("a_rather_long_command_file_name.cmd"), "ver"));
        FileDialogFit fit;
        qApp->installEventFilter(&fit);
        QFileDialog dialog(nullptr, "Run command file", environment_.FilePath(""),
                           "Command files (*.cmd)");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.show();
        // The view's width for a column's texts is public only on its base class.
        QAbstractItemView* list = dialog.findChild<QTreeView*>("treeView");
        QHeaderView* header = dialog.findChild<QTreeView*>("treeView")->header();
        QTRY_VERIFY(list->model()->rowCount(list->rootIndex()) > 0);
        for (int column = 1; column < header->count(); ++column) {
            QTRY_VERIFY2(header->sectionSize(column) >= list->sizeHintForColumn(column),
                         qPrintable(QString::number(column)));
        }
        QVERIFY(SaveScreenshot(dialog, "file_dialog"));
    }

  private:
    GuiEnvironment environment_;
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::TerminalPartsTest, "terminal_parts_test")
#include "terminal_parts_test.moc"
