// The output pane shows the received bytes through the terminal append rule: what it holds and
// what it shows must stay in step, whatever mix of line ends, erasures and trimming arrives.
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include "app/color_edit_widget.h"

using Chunks = std::vector<std::string>;
Q_DECLARE_METATYPE(Chunks)

namespace brennix::test {
namespace {

std::string Append(CColorEdit& pane, const std::string& bytes) {
    pane.Append(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return pane.Text();
}

}  // namespace

class TerminalOutputPaneTest : public QObject {
    Q_OBJECT

  private slots:
    void showsWhatItHolds_data() {
        QTest::addColumn<Chunks>("chunks");
        QTest::addColumn<QByteArray>("held");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CR LF is one line break")
            << Chunks{"ab\r\ncd"} << QByteArray("ab\r\ncd") << "ab\ncd";
        QTest::newRow("CR LF split over two reads")
            << Chunks{"ab\r", "\ncd"} << QByteArray("ab\r\ncd") << "ab\ncd";
        QTest::newRow("echoed CR starts the reply on a new line")
            << Chunks{"Ver\r", "Ostrel\r\n>"} << QByteArray("Ver\rOstrel\r\n>") << "Ver\nOstrel\n>";
        QTest::newRow("lone LF and LF CR")
            << Chunks{"a\nb\n\rc"} << QByteArray("a\nb\n\rc") << "a\nb\n\nc";
        QTest::newRow("backspace erases a shown character")
            << Chunks{"ab\r\ncd", "\x08x"} << QByteArray("ab\r\ncx") << "ab\ncx";
        QTest::newRow("backspace over a line end")
            << Chunks{"ab\r\n", "\x08\x08z"} << QByteArray("abz") << "abz";
        QTest::newRow("backspace leaves a CR that shows")
            << Chunks{"ab\r\n", "\x08", "\n"} << QByteArray("ab\r\n") << "ab\n";
        QTest::newRow("DEL within one read")
            << Chunks{"abc\x7f\x7f" "d"} << QByteArray("ad") << "ad";
        QTest::newRow("0x04 shows as a blank") << Chunks{"a\x04z"} << QByteArray("a z") << "a z";
        QTest::newRow("Latin-1 bytes") << Chunks{"12\xb0" "C"} << QByteArray("12\xb0" "C")
                                       << QString::fromUtf8("12\u00b0C");
    }
    void showsWhatItHolds() {
        QFETCH(Chunks, chunks);
        QFETCH(QByteArray, held);
        QFETCH(QString, shown);
        CColorEdit pane;
        for (const std::string& chunk : chunks) {
            Append(pane, chunk);
        }
        QCOMPARE(pane.Text(), held.toStdString());
        QCOMPARE(pane.toPlainText(), shown);
    }

    // Cutting the front may leave a line feed first whose carriage return went with the cut.
    void longOutputIsTrimmedInStep_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("cut inside a line") << QByteArray("0123456789 abcdefghij\r\n");
        QTest::newRow("cut between CR and LF") << QByteArray("j\r\n");
    }
    void longOutputIsTrimmedInStep() {
        QFETCH(QByteArray, line);
        CColorEdit pane;
        for (int i = 0; i < 20000 / line.size(); ++i) {
            Append(pane, line.toStdString());
            QVERIFY(pane.Text().size() <= TerminalPane::kTrimAbove + size_t(line.size()));
        }
        QVERIFY(pane.Text().size() >= TerminalPane::kKeepAfterTrim);
        const std::string& held = pane.Text();
        const QString shownLines = pane.toPlainText();
        QCOMPARE(shownLines.count('\n'), qsizetype(std::count(held.begin(), held.end(), '\r')) +
                                             (held.front() == '\n' ? 1 : 0));
        QVERIFY(shownLines.endsWith("j\n"));
    }
    void colorsAreYellowOnBlack() {
        CColorEdit pane;
        pane.SetTextColor(QColor(255, 255, 0));
        pane.SetBackgroundColor(Qt::black);
        const QImage image = pane.grab().toImage();
        QCOMPARE(image.pixelColor(image.width() / 3, image.height() / 2), QColor(Qt::black));
        QCOMPARE(pane.palette().color(QPalette::Text), QColor(255, 255, 0));
    }
};

}  // namespace brennix::test

QTEST_MAIN(brennix::test::TerminalOutputPaneTest)
#include "terminal_output_pane_test.moc"
