// The command line's history: the rules of the list and of "cmd.ini", alone and in the terminal.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <string>
#include <vector>

#include "app/command_history.h"
#include "app/terminal_window.h"
#include "shell_fixture.h"
#include "sim/simulated_instrument.h"

using Entries = std::vector<std::string>;
Q_DECLARE_METATYPE(Entries)

namespace brennix::test {
namespace {

std::string Lines(int count, const std::string& prefix) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += prefix + std::to_string(i) + "\n";
    }
    return text;
}

Entries Numbered(int count, const std::string& prefix) {
    Entries entries;
    for (int i = 0; i < count; ++i) {
        entries.push_back(prefix + std::to_string(i));
    }
    return entries;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const std::string& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
}

}  // namespace

class TerminalHistoryTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { environment_.Reset(); }

    void addMovesTheCommandToTheTop_data() {
        QTest::addColumn<Entries>("before");
        QTest::addColumn<QByteArray>("added");
        QTest::addColumn<Entries>("after");
        QTest::newRow("new") << Entries{"a", "b"} << QByteArray("c") << Entries{"c", "a", "b"};
        QTest::newRow("third entry again")
            << Entries{"a", "b", "dir"} << QByteArray("dir") << Entries{"dir", "a", "b"};
        QTest::newRow("other case replaces")
            << Entries{"a", "dir"} << QByteArray("DIR") << Entries{"DIR", "a"};
        QTest::newRow("Latin-1 letters fold")
            << Entries{"\xe9t\xe9", "x"} << QByteArray("\xc9T\xc9") << Entries{"\xc9T\xc9", "x"};
        QTest::newRow("empty is not kept") << Entries{"a"} << QByteArray() << Entries{"a"};
        QTest::newRow("blank is kept") << Entries{"a"} << QByteArray(" ") << Entries{" ", "a"};
    }
    void addMovesTheCommandToTheTop() {
        QFETCH(Entries, before);
        QFETCH(QByteArray, added);
        QFETCH(Entries, after);
        CommandHistory history;
        for (auto entry = before.rbegin(); entry != before.rend(); ++entry) {
            history.Add(*entry);
        }
        history.Add(added.toStdString());
        QCOMPARE(history.Entries(), after);
    }

    void loadReadsTheFileRules_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Entries>("entries");
        QTest::newRow("forty lines load thirty")
            << QByteArray::fromStdString(Lines(40, "c")) << Numbered(30, "c");
        QTest::newRow("blank lines and line ends")
            << QByteArray("one\r\n\r\n\ntwo\rthree\n  \n") << Entries{"one", "two", "  "};
        QTest::newRow("last line without end") << QByteArray("a\nb") << Entries{"a", "b"};
        QTest::newRow("long line in 511-character pieces")
            << QByteArray::fromStdString(std::string(511, 'x') + std::string(489, 'y') + "\nz\n")
            << Entries{std::string(511, 'x'), std::string(489, 'y'), "z"};
        QTest::newRow("511 characters and the line end")
            << QByteArray::fromStdString(std::string(511, 'x') + "\nz\n")
            << Entries{std::string(511, 'x'), "z"};
        QTest::newRow("NUL ends the text") << QByteArray("ab\0cd\nef\n", 9) << Entries{"ab", "ef"};
        QTest::newRow("8-bit text kept") << QByteArray("temp 12\xb0\n") << Entries{"temp 12\xb0"};
    }
    void loadReadsTheFileRules() {
        QFETCH(QByteArray, file);
        QFETCH(Entries, entries);
        const QString path = environment_.FilePath("cmd.ini");
        WriteAll(path, file.toStdString());
        CommandHistory history;
        QVERIFY(history.Load(path.toStdString()));
        QCOMPARE(history.Entries(), entries);
    }

    void missingFileKeepsTheList() {
        CommandHistory history;
        history.Add("kept");
        QVERIFY(!history.Load(environment_.FilePath("absent/cmd.ini").toStdString()));
        QCOMPARE(history.Entries(), Entries{"kept"});
    }

    void saveWritesTheThirtyMostRecent() {
        CommandHistory history;
        for (const std::string& entry : Numbered(35, "c")) {
            history.Add(entry);
        }
        const QString path = environment_.FilePath("cmd.ini");
        WriteAll(path, std::string(2000, 'o'));
        QVERIFY(history.Save(path.toStdString()));

        std::string expected;
        for (int i = 34; i >= 5; --i) {
            expected += "c" + std::to_string(i) + "\n";
        }
        QCOMPARE(ReadAll(path).toStdString(), expected);
    }

    void unwritableFileIsSkipped() {
        CommandHistory history;
        history.Add("x");
        QVERIFY(!history.Save(environment_.FilePath("absent/cmd.ini").toStdString()));
    }

    // What is sent in one run is offered in the next, most recent first.
    void terminalKeepsItsHistoryBetweenRuns() {
        {
            CBrennixApp app(environment_.Options());
            app.Start();
            CDlgTerminal& terminal = *app.Terminal();
            for (const char* command : {"dir", "Ver", "Show Conf", "DIR", ""}) {
                terminal.CommandLine().setEditText(command);
                QTest::keyClick(terminal.CommandLine().lineEdit(), Qt::Key_Return);
            }
            QCOMPARE(terminal.CommandLine().count(), 3);
            QCOMPARE(terminal.CommandLine().itemText(0), QStringLiteral("DIR"));
            QVERIFY(terminal.CommandLine().currentText().isEmpty());
        }
        QCOMPARE(ReadAll(QDir(environment_.DataFolder()).filePath("cmd.ini")),
                 QByteArray("DIR\nShow Conf\nVer\n"));

        CBrennixApp next(environment_.Options());
        next.Start();
        QComboBox& line = next.Terminal()->CommandLine();
        QCOMPARE(line.count(), 3);
        QCOMPARE(line.itemText(1), QStringLiteral("Show Conf"));

        // The arrow keys bring entries back for editing without sending them.
        QTest::keyClick(line.lineEdit(), Qt::Key_Down);
        QCOMPARE(line.currentText(), QStringLiteral("DIR"));
        QTest::keyClick(line.lineEdit(), Qt::Key_Down);
        QCOMPARE(line.currentText(), QStringLiteral("Show Conf"));
        QTest::keyClick(line.lineEdit(), Qt::Key_Up);
        QCOMPARE(line.currentText(), QStringLiteral("DIR"));
        QTest::qWait(50);
        QVERIFY(next.Simulator()->Received().empty());

        // Choosing an entry sends it at once and moves it to the top.
        emit line.activated(1);
        QTRY_COMPARE(line.itemText(0), QStringLiteral("Show Conf"));
        QVERIFY(next.Simulator()->Received().find("Show Conf\r") != std::string::npos);
        QCOMPARE(line.count(), 3);
    }

  private:
    ShellEnvironment environment_;
};

}  // namespace brennix::test

QTEST_MAIN(brennix::test::TerminalHistoryTest)
#include "terminal_history_test.moc"
