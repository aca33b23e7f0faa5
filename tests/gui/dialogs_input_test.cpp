// The Input dialog: what each kind of row gives back, and how the rows are laid out.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui_fixture.h"
#include "script/input_dialog.h"

Q_DECLARE_METATYPE(brennix::InputKind)

namespace brennix::test {
namespace {

InputRow Row(InputKind kind, const QStringList& arguments) {
    InputRow row{kind, {}};
    for (const QString& argument : arguments)
        row.arguments.push_back(argument.toLatin1().toStdString());
    return row;
}

}  // namespace

class InputDialogTest : public QObject {
    Q_OBJECT

  private slots:
    // The user's action on the row's control: "type:<text>", "choose:<index>", "toggle" or "".
    void resultOfOneRow_data() {
        QTest::addColumn<InputKind>("kind");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("expected");
        QTest::newRow("typing replaces the selected default")
            << InputKind::kInput << QStringList{"Cell begin(m)", "1.5"} << "type:2.25"
            << "2.25";
        QTest::newRow("8-bit default comes back as it was")
            << InputKind::kInput << QStringList{"Temp", QString::fromLatin1("20\xB0")} << ""
            << QString::fromLatin1("20\xB0");
        QTest::newRow("select keeps the given order")
            << InputKind::kSelect << QStringList{"Coord system", "BEAM", "XYZ", "ENU"} << "choose:2"
            << "ENU";
        QTest::newRow("check matches the current value in any case")
            << InputKind::kCheck << QStringList{"Auto sleep", "on", "ON", "OFF"} << ""
            << "ON";
        QTest::newRow("clearing the box gives the clear value")
            << InputKind::kCheck << QStringList{"Auto sleep", "ON", "ON", "OFF"} << "toggle"
            << "OFF";
        QTest::newRow("checking the box gives the checked value")
            << InputKind::kCheck << QStringList{"Enable profiling", "NO", "YES", "NO"} << "toggle"
            << "YES";
    }
    void resultOfOneRow() {
        QFETCH(InputKind, kind);
        QFETCH(QStringList, arguments);
        QFETCH(QString, action);
        QFETCH(QString, expected);
        CDlgInput dialog({Row(kind, arguments)});
        QWidget* control = dialog.RowControl(0);
        if (action.startsWith("type:"))
            QTest::keyClicks(control, action.mid(5));
        else if (action.startsWith("choose:"))
            qobject_cast<QComboBox*>(control)->setCurrentIndex(action.mid(7).toInt());
        else if (action == "toggle")
            qobject_cast<QCheckBox*>(control)->click();
        dialog.OkButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Results().size(), size_t(1));
        QCOMPARE(QByteArray::fromStdString(dialog.Results()[0]), expected.toLatin1());
    }

    void rowsStackDownWithOkBelow() {
        CDlgInput dialog({Row(InputKind::kInput, {"Cell begin(m)", "1.50"}),
                          Row(InputKind::kSelect, {"Coord system", "BEAM", "XYZ", "ENU"}),
                          Row(InputKind::kCheck, {"Auto sleep", "ON", "ON", "OFF"})});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(SaveScreenshot(dialog, "dialogs-input"));
        const int h = dialog.RowHeight();
        for (size_t row = 0; row < 3; ++row) {
            const QRect control = dialog.RowControl(row)->geometry();
            QCOMPARE(control.top(), CDlgInput::kFirstRowTop + int(row) * (h + CDlgInput::kRowGap));
            QVERIFY(control.height() <= h);
            QVERIFY(control.right() < dialog.width());
        }
        const QRect ok = dialog.OkButton()->geometry();
        QCOMPARE(ok.top(),
                 CDlgInput::kFirstRowTop + 2 * (h + CDlgInput::kRowGap) + h + CDlgInput::kOkGap);
        QVERIFY(ok.left() > 0 && ok.right() < dialog.width() && ok.bottom() < dialog.height());
        QCOMPARE(qobject_cast<QComboBox*>(dialog.RowControl(1))->maxVisibleItems(),
                 CDlgInput::kVisibleListItems);

        // The check row's label reads left of its box, and a click on it toggles the box.
        auto* check = qobject_cast<QCheckBox*>(dialog.RowControl(2));
        QCOMPARE(check->x(), dialog.RowControl(0)->x());
        const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
        QCOMPARE(labels.size(), 3);
        QVERIFY(labels[2]->geometry().right() < check->x());
        QTest::mouseClick(labels[2], Qt::LeftButton);
        QVERIFY(!check->isChecked());
    }

    void emptyDialogOffersOnlyOk() {
        CDlgInput dialog({});
        QCOMPARE(dialog.OkButton()->y(), CDlgInput::kOkTopWithoutRows);
        dialog.OkButton()->click();
        QVERIFY(dialog.Results().empty());
    }

  private:
    GuiEnvironment environment_;
};

}  // namespace brennix::test

QTEST_MAIN(brennix::test::InputDialogTest)
#include "dialogs_input_test.moc"
