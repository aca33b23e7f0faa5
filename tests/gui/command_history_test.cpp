// The command line's history: the rules of the list and of its file "cmd.ini".
#include <vector>

#include "desktop/command_history.h"
#include "gui_fixture.h"

using Entries = std::vector<std::string>;
Q_DECLARE_METATYPE(Entries)

namespace brennix::test {
namespace {

Entries Numbered(int from, int to) {
    Entries entries;
    for (int i = from; i != to; i += from < to ? 1 : -1)
        entries.push_back("c" + std::to_string(i));
    return entries;
}

QByteArray Lines(const Entries& entries) {
    QByteArray text;
    for (const std::string& entry : entries)
        text += QByteArray::fromStdString(entry) + '\n';
    return text;
}

}  // namespace

class CommandHistoryTest : public QObject {
    Q_OBJECT

  private slots:
    void addMovesTheCommandToTheTop_data() {
        QTest::addColumn<Entries>("before");
        QTest::addColumn<QByteArray>("added");
        QTest::addColumn<Entries>("after");
        QTest::newRow("new") << Entries{"a", "b"} << QByteArray("c") << Entries{"c", "a", "b"};
        QTest::newRow("other case replaces")
            << Entries{"a", "b", "dir"} << QByteArray("DIR") << Entries{"DIR", "a", "b"};
        QTest::newRow("Latin-1 letters fold")
            << Entries{"\xe9t\xe9", "x"} << QByteArray("\xc9T\xc9") << Entries{"\xc9T\xc9", "x"};
        QTest::newRow("empty is not kept") << Entries{"a"} << QByteArray() << Entries{"a"};
    }
    void addMovesTheCommandToTheTop() {
        QFETCH(Entries, before);
        QFETCH(QByteArray, added);
        QFETCH(Entries, after);
        CommandHistory history;
        for (auto entry = before.rbegin(); entry != before.rend(); ++entry)
            history.Add(*entry);
        history.Add(added.toStdString());
        QCOMPARE(history.Entries(), after);
    }

    void loadReadsTheFile_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Entries>("entries");
        QTest::newRow("forty lines load thirty") << Lines(Numbered(0, 40)) << Numbered(0, 30);
        QTest::newRow("blank lines and line ends")
            << QByteArray("one\r\n\r\n\ntwo\rthree\n  \nlast")
            << Entries{"one", "two", "  ", "last"};
        QTest::newRow("long line in 511-character pieces")
            << QByteArray(511, 'x') + QByteArray(489, 'y') + "\nz\n"
            << Entries{std::string(511, 'x'), std::string(489, 'y'), "z"};
        QTest::newRow("511 characters and the line end") << QByteArray(511, 'x') + "\nz\n"
                                                         << Entries{std::string(511, 'x'), "z"};
    }
    void loadReadsTheFile() {
        QFETCH(QByteArray, file);
        QFETCH(Entries, entries);
        const QString path = environment_.FilePath("cmd.ini");
        QVERIFY(WriteFile(path, file));
        CommandHistory history;
        QVERIFY(history.Load(path.toStdString()));
        QCOMPARE(history.Entries(), entries);
    }

    void saveReplacesTheFileWithTheThirtyMostRecent() {
        CommandHistory history;
        for (const std::string& entry : Numbered(0, 35))
            history.Add(entry);
        const QString path = environment_.FilePath("cmd.ini");
        QVERIFY(WriteFile(path, QByteArray(2000, 'o')));
        QVERIFY(history.Save(path.toStdString()));
        QCOMPARE(ReadFile(path), Lines(Numbered(34, 4)));
    }

  private:
    GuiEnvironment environment_;
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::CommandHistoryTest, "command_history_test")
#include "command_history_test.moc"
