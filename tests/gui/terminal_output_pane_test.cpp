// The output pane shows the received bytes through the terminal append rule: what it holds and
// what it shows must stay in step, whatever mix of line ends, erasures and trimming arrives.
#include <QTest>
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

QString ShownFor(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size())).remove('\r');
}

}  // namespace

class TerminalOutputPaneTest : public QObject {
    Q_OBJECT

  private slots:
    void showsWhatItHolds_data() {
        QTest::addColumn<Chunks>("chunks");
        QTest::addColumn<QByteArray>("held");
        QTest::newRow("CR LF is one line break") << Chunks{"ab\r\ncd"} << QByteArray("ab\r\ncd");
        QTest::newRow("CR LF split over two reads")
            << Chunks{"ab\r", "\ncd"} << QByteArray("ab\r\ncd");
        QTest::newRow("backspace erases a shown character")
            << Chunks{"ab\r\ncd", "\x08x"} << QByteArray("ab\r\ncx");
        QTest::newRow("backspace over a line end")
            << Chunks{"ab\r\n", "\x08\x08z"} << QByteArray("abz");
        QTest::newRow("DEL within one read") << Chunks{"abc\x7f\x7f" "d"} << QByteArray("ad");
        QTest::newRow("0x04 shows as a blank") << Chunks{"a\x04z"} << QByteArray("a z");
        QTest::newRow("Latin-1 bytes") << Chunks{"12\xb0" "C \xe9t\xe9"}
                                       << QByteArray("12\xb0" "C \xe9t\xe9");
    }
    void showsWhatItHolds() {
        QFETCH(Chunks, chunks);
        QFETCH(QByteArray, held);
        CColorEdit pane;
        for (const std::string& chunk : chunks) {
            Append(pane, chunk);
        }
        QCOMPARE(pane.Text(), held.toStdString());
        QCOMPARE(pane.toPlainText(), ShownFor(held.toStdString()));
    }

    void longOutputIsTrimmedInStep() {
        CColorEdit pane;
        pane.SetText("Welcome\r\n");
        std::string line = "0123456789 abcdefghij\r\n";
        for (int i = 0; i < 600; ++i) {
            Append(pane, line);
            QVERIFY(pane.Text().size() <= TerminalPane::kTrimAbove + line.size());
        }
        QVERIFY(pane.Text().size() >= TerminalPane::kKeepAfterTrim);
        QCOMPARE(pane.toPlainText(), ShownFor(pane.Text()));
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
