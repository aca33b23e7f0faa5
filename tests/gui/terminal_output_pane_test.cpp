// The output pane shows the received bytes as the terminal append rule holds them, whatever mix
// of split line ends, erasures and trimming arrives.
#include <algorithm>
#include <vector>

#include "desktop/color_edit_widget.h"
#include "gui_fixture.h"

using Chunks = std::vector<std::string>;
Q_DECLARE_METATYPE(Chunks)

namespace brennix::test {
namespace {

void Append(CColorEdit& pane, const std::string& bytes) {
    pane.Append(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

class TerminalOutputPaneTest : public QObject {
    Q_OBJECT

  private slots:
    void showsWhatItHolds_data() {
        QTest::addColumn<Chunks>("chunks");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CR LF split over two reads") << Chunks{"ab\r", "\ncd"} << "ab\ncd";
        QTest::newRow("echoed CR starts the reply on a new line")
            << Chunks{"Ver\r", "Ostrel\r\n>"} << "Ver\nOstrel\n>";
        QTest::newRow("lone LF and LF CR") << Chunks{"a\nb\n\rc"} << "a\nb\n\nc";
        QTest::newRow("backspace over a line end") << Chunks{"ab\r\n", "\x08\x08z"} << "abz";
        QTest::newRow("backspace leaves a CR that shows")
            << Chunks{"ab\r\n", "\x08", "\n"} << "ab\n";
        QTest::newRow("Latin-1 bytes") << Chunks{"12\xb0" "C"}
                                       << QString::fromUtf8("12\u00b0C");
    }
    void showsWhatItHolds() {
        QFETCH(Chunks, chunks);
        QFETCH(QString, shown);
        CColorEdit pane;
        for (const std::string& chunk : chunks)
            Append(pane, chunk);
        QCOMPARE(pane.toPlainText(), shown);
    }

    // Lines of changing length put the cuts at every kind of place, also between a carriage
    // return and its line feed, which leaves a line feed first.
    void longOutputIsTrimmedInStep() {
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
};

}  // namespace brennix::test

BRENNIX_GUI_TEST(brennix::test::TerminalOutputPaneTest, "terminal_output_pane_test")
#include "terminal_output_pane_test.moc"
