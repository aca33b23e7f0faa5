// Start-up defaults, the unit system and the terminal font as they persist between runs.
#include <QSettings>
#include <QTest>

#include "app/brennix_app.h"
#include "app/color_edit_widget.h"
#include "app/help_window.h"
#include "app/terminal_font.h"
#include "app/terminal_window.h"
#include "shell_fixture.h"

namespace brennix::test {

class ShellSettingsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { environment_.Reset(); }

    void firstStartUsesDefaults() {
        CBrennixApp app(environment_.Options());
        app.Start();
        CDlgTerminal& terminal = *app.Terminal();

        QCOMPARE(app.UnitSystem(), CBrennixApp::kEnglishUnits);
        QVERIFY(terminal.Menus().english->isChecked());
        QVERIFY(!terminal.Menus().metric->isChecked());
        QVERIFY(terminal.Menus().rs232->isChecked());
        QVERIFY(terminal.Menus().openLog->isEnabled());
        QVERIFY(!terminal.Menus().closeLog->isEnabled());
        QCOMPARE(QSettings().value("Terminal/Font").toInt(), 0);
        QCOMPARE(terminal.OutputPane().font().pointSize(), TerminalFontForSize(0).pointSize());
        QCOMPARE(terminal.windowTitle(), QStringLiteral("Brennix v1.01"));
        QVERIFY(terminal.OutputPane().Text().starts_with(
            "Welcome to Brennix for Pocket PC!\r\nDiscover how easy it is to use the new line of "
            "Ostrel PDA software !!"));
        QVERIFY(terminal.OutputPane().Text().ends_with("\r\nConnected to SIM at 9600\r\n"));
    }

    void unitSystemIsStoredWhenTheProgramEnds() {
        {
            CBrennixApp app(environment_.Options());
            app.Start();
            app.Terminal()->Menus().metric->trigger();
            QVERIFY(app.Terminal()->Menus().metric->isChecked());
            QVERIFY(!app.Terminal()->Menus().english->isChecked());
            QCOMPARE(QSettings().value("Settings/UnitSystem", 1).toInt(), 1);
            app.End();
            QCOMPARE(QSettings().value("Settings/UnitSystem").toInt(), 0);
        }
        CBrennixApp next(environment_.Options());
        next.Start();
        QCOMPARE(next.UnitSystem(), CBrennixApp::kMetricUnits);
        QVERIFY(next.Terminal()->Menus().metric->isChecked());
    }

    void unknownUnitSystemShowsAsMetric() {
        QSettings("Ostrel", "Brennix").setValue("Settings/UnitSystem", 7);
        CBrennixApp app(environment_.Options());
        app.Start();
        QVERIFY(app.Terminal()->Menus().metric->isChecked());
        app.End();
        QCOMPARE(QSettings().value("Settings/UnitSystem").toInt(), 7);
    }

    void fontButtonCyclesAndIsRemembered_data() {
        QTest::addColumn<int>("saved");
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("expected");
        QTest::newRow("first press") << 0 << 1 << 1;
        QTest::newRow("five presses come back") << 0 << 5 << 0;
        QTest::newRow("largest wraps to smallest") << 4 << 1 << 0;
        QTest::newRow("out of range applies as 0") << 7 << 0 << 0;
        QTest::newRow("negative applies as 0") << -3 << 0 << 0;
        QTest::newRow("out of range then a press") << 7 << 1 << 1;
    }
    void fontButtonCyclesAndIsRemembered() {
        QFETCH(int, saved);
        QFETCH(int, presses);
        QFETCH(int, expected);
        QSettings("Ostrel", "Brennix").setValue("Terminal/Font", saved);
        CBrennixApp app(environment_.Options());
        app.Start();
        for (int i = 0; i < presses; ++i) {
            app.Terminal()->NextFontSize();
        }
        QCOMPARE(QSettings().value("Terminal/Font").toInt(), expected);
        QCOMPARE(app.Terminal()->OutputPane().font().pointSize(),
                 TerminalFontForSize(expected).pointSize());
        app.End();

        CBrennixApp next(environment_.Options());
        next.Start();
        QCOMPARE(next.Terminal()->OutputPane().font().pointSize(),
                 TerminalFontForSize(expected).pointSize());
    }

    // This program has no help page beside it.
    void missingHelpPageIsReported() {
        CBrennixApp app(environment_.Options());
        app.Start();
        const auto seen = AcknowledgeNextMessage();
        app.Terminal()->ShowHelp();
        QCOMPARE(seen->caption, QStringLiteral("Unable to open file"));
        QCOMPARE(seen->text, QDir::toNativeSeparators(HelpWindow::CandidatePaths().front()));
    }

  private:
    ShellEnvironment environment_;
};

}  // namespace brennix::test

QTEST_MAIN(brennix::test::ShellSettingsTest)
#include "shell_settings_test.moc"
